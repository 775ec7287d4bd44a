#include "gui/viewer/frame_pipeline.h"

#include "viewer/store_copy.h"
#include "viewer/view_preparation.h"

namespace verdel {

TFramePipeline::TFramePipeline(const TFrameSettings& Settings, QObject* Parent) : QObject(Parent), Window(Settings)
{
    // The worker calls back on its own thread; the frame is handed on on this object's.
    Worker = std::make_unique<TFrameWorker>(
        [this] { QMetaObject::invokeMethod(this, &TFramePipeline::Delivered, Qt::QueuedConnection); });
    UseViewerLight(Worker->Renderer());
}

TFramePipeline::~TFramePipeline() { Stop(); }

void TFramePipeline::Request(const TFaceStore& Store, TRenderMode Mode, bool ShareFaces)
{
    const TRequest request{&Store, Mode, ShareFaces};
    if (InFlight || Handing) {
        Waiting = request;
        return;
    }
    Launch(request);
}

void TFramePipeline::Launch(const TRequest& request)
{
    TGMP& gmp = Worker->Renderer();
    ApplyFrameSettings(Window, gmp);
    gmp.RenderMode = request.Mode; // the mode when the frame was asked for
    if (TexturesStale && LoadTextures) {
        LoadTextures(gmp);
        TexturesStale = false;
    }
    TFaceStore& scene = request.ShareFaces ? *SharedScene : *OwnScene;
    if (request.ShareFaces) CopyStoreHeader(*request.Store, scene);
    else CopyStoreFaces(*request.Store, scene);
    InFlight = request.Store;
    Worker->Start(scene);
}

void TFramePipeline::Delivered()
{
    // A call left over from a frame dropped by Stop finds a newer frame still drawing, or none.
    if (!InFlight || Worker->Busy()) return;
    const TFaceStore* store = InFlight;
    InFlight = nullptr;
    ++Shown;
    Handing = true;
    emit FrameReady(Worker->Renderer().Bitmap(), store, Worker->LastFrameMs());
    Handing = false;
    if (Waiting.Store) {
        const TRequest next = Waiting;
        Waiting = {};
        Launch(next);
    }
}

void TFramePipeline::Stop()
{
    Waiting = {};
    if (Worker) Worker->WaitIdle();
    InFlight = nullptr;
}

} // namespace verdel
