// The viewer's frames, drawn on a worker thread and handed back to the window.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "engine/face_store.h"
#include "render/gmp.h"
#include "viewer/frame_worker.h"

namespace verdel {

// Draws one frame at a time on a worker with a renderer of its own, so the
// window goes on answering while a frame is drawn. A request made while a
// frame is being drawn waits in a single place, where a newer request
// replaces it: when the frame is done, only the latest request is drawn.
class TFramePipeline : public QObject {
    Q_OBJECT
public:
    // Each frame takes the size and background colour that Settings (the
    // window's record) holds when the frame starts, and the viewer's light.
    explicit TFramePipeline(const TFrameSettings& Settings, QObject* Parent = nullptr);
    // Waits for the frame under way.
    ~TFramePipeline() override;

    // Loads the layer textures into the worker's renderer; called before the
    // first frame and the first frame after TexturesChanged.
    std::function<void(TGMP&)> LoadTextures;
    void TexturesChanged() { TexturesStale = true; }

    // Asks for a frame of Store in Mode. With ShareFaces the worker reads
    // Store's own face lists: nothing may change its vertices while
    // Drawing(Store). Otherwise the worker draws a copy made when the frame starts.
    void Request(const TFaceStore& Store, TRenderMode Mode, bool ShareFaces);

    // Whether a frame of Store is being drawn now.
    bool Drawing(const TFaceStore& Store) const { return InFlight == &Store; }
    // Whether a frame is being drawn or waits.
    bool Active() const { return InFlight || Waiting.Store; }
    // Frames finished and handed on so far.
    int FramesShown() const { return Shown; }

    // Drops the waiting request and waits for the frame under way, whose
    // picture is then dropped too (the window closes).
    void Stop();

signals:
    // A frame is finished: its picture, the store it shows and how long it
    // took. Requests made while receivers run wait until they return.
    void FrameReady(const TDIB16bit& Frame, const TFaceStore* Store, double Milliseconds);

private:
    struct TRequest {
        const TFaceStore* Store = nullptr;
        TRenderMode Mode = rmWireframe;
        bool ShareFaces = false;
    };
    void Launch(const TRequest& request);
    void Delivered();

    const TFrameSettings& Window; // the window's settings, which each frame takes
    std::unique_ptr<TFaceStore> SharedScene = std::make_unique<TFaceStore>(); // header over the model's faces
    std::unique_ptr<TFaceStore> OwnScene = std::make_unique<TFaceStore>();    // a copy with faces of its own
    TRequest Waiting;
    const TFaceStore* InFlight = nullptr;
    bool Handing = false;
    bool TexturesStale = true;
    int Shown = 0;
    // Declared last: destroyed first, waiting for its frame while the rest still exists.
    std::unique_ptr<TFrameWorker> Worker;
};

} // namespace verdel
