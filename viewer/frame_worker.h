// A thread that draws frames with a renderer of its own.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/face_store.h"
#include "render/gmp.h"

namespace verdel {

// What the frames of a view are drawn with: the window that shows them keeps
// this record, and each frame takes it as it is when the frame starts.
struct TFrameSettings {
    int Width = 200;
    int Height = 200;
    TColor BackColor = 0; // 0x00BBGGRR
    TRenderMode Mode = rmWireframe;
};

// Gives Gmp the size (resizing only when it changed), background colour and render mode of Settings.
void ApplyFrameSettings(const TFrameSettings& Settings, TGMP& Gmp);

// Draws one frame at a time on a thread of its own: the caller sets up the
// renderer and the store while the worker is idle, starts it, and hears of
// the finished frame through the callback, called on the worker's thread.
// Between Start and the end of that frame the caller touches neither the
// renderer nor the store (nor the vertices the store's face lists share).
class TFrameWorker {
public:
    using TFinished = std::function<void()>;

    explicit TFrameWorker(TFinished Finished);
    // Waits for the frame under way, then ends the thread.
    ~TFrameWorker();
    TFrameWorker(const TFrameWorker&) = delete;
    TFrameWorker& operator=(const TFrameWorker&) = delete;

    // The worker's renderer; set it up and read its frame only while idle.
    TGMP& Renderer() { return *Gmp; }

    // Clears the renderer's frame to its background and draws Scene, on the
    // worker's thread; the callback follows. Only while idle.
    void Start(TFaceStore& Scene);

    // Whether a frame is being drawn (from Start until just before the callback).
    bool Busy() const;

    // Blocks until the frame under way is finished.
    void WaitIdle();

    // How long the last frame took to clear and draw, in milliseconds; set before the callback.
    double LastFrameMs() const;

private:
    void Run();

    std::unique_ptr<TGMP> Gmp = std::make_unique<TGMP>();
    TFinished Finished;
    mutable std::mutex Lock;
    std::condition_variable Changed;
    TFaceStore* Pending = nullptr; // the store to draw next, guarded by Lock
    bool Drawing = false;          // guarded by Lock
    bool Calling = false;          // the callback runs; guarded by Lock
    bool Quit = false;             // guarded by Lock
    double FrameMs = 0;            // guarded by Lock
    std::thread Thread;            // started last, after every member it uses
};

} // namespace verdel
