#include "viewer/live_generation.h"

#include <new>

namespace verdel {

namespace {

// Keeps the first message and answers every question Yes.
class TQuietPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override
    {
        if (First.empty()) First = Text;
    }
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
    std::string First;
};

} // namespace

void GenerateLive(const TLines& Lines, const TSolidSettings& Solids, TRandomSource Random, const TCancelToken& Cancel,
                  TLiveOutcome& Outcome)
{
    TQuietPrompt prompt;
    try {
        Outcome.Result = GenerateModel(Lines, Solids, prompt, Random, Cancel, Outcome.Model);
        Outcome.Message = Outcome.Result.Message.empty() ? prompt.First : Outcome.Result.Message;
    } catch (const std::bad_alloc&) {
        ClearModel(Outcome.Model);
        Outcome.Result.Status = TGenerationStatus::Refused;
        Outcome.Message = "Not enough memory for this model";
    }
}

TLiveGenerator::TLiveGenerator(std::function<void(std::shared_ptr<TLiveOutcome>)> OnDone) : Done(std::move(OnDone)) {}

TLiveGenerator::~TLiveGenerator() { Cancel(); }

void TLiveGenerator::Cancel()
{
    Worker.Drop();
    std::lock_guard<std::mutex> guard(Lock);
    if (Current) Current->Cancel();
}

uint64_t TLiveGenerator::Post(TLines Lines, const TSolidSettings& Solids, const TRandomSource& Random, bool StopRunning)
{
    const uint64_t ticket = ++Tickets;
    auto token = std::make_shared<TCancelToken>();
    {
        std::lock_guard<std::mutex> guard(Lock);
        if (Current && StopRunning) Current->Cancel();
        Current = token;
    }
    Worker.Post([this, ticket, token, lines = std::move(Lines), Solids, Random] {
        auto outcome = std::make_shared<TLiveOutcome>();
        outcome->Ticket = ticket;
        GenerateLive(lines, Solids, Random, *token, *outcome);
        if (outcome->Result.Status != TGenerationStatus::Cancelled) Done(std::move(outcome));
    });
    return ticket;
}

} // namespace verdel
