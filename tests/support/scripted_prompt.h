// A prompt that records what the code says and answers from a script.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/prompt.h"

namespace verdel::test {

class TScriptedPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override { Messages.push_back(Text); }

    TAnswer Confirm(const std::string& Text, bool WithCancel) override
    {
        Questions.push_back(Text);
        CancelOffered.push_back(WithCancel);
        if (Answers.empty()) return TAnswer::No;
        const TAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    void BeginBusy(const std::string& StatusText) override
    {
        ++BusyDepth;
        BusyTexts.push_back(StatusText);
    }
    void EndBusy() override { --BusyDepth; }

    std::deque<TAnswer> Answers; // answered in order; No when the script runs out
    std::vector<std::string> Messages;
    std::vector<std::string> Questions;
    std::vector<bool> CancelOffered;
    std::vector<std::string> BusyTexts;
    int BusyDepth = 0;
};

// Answers every question with Yes and keeps quiet.
class TYesPrompt : public TPrompt {
public:
    void Message(const std::string&) override {}
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
};

} // namespace verdel::test
