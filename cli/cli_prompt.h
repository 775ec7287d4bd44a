// The batch tool's answers to the engine's messages and questions.
#pragma once

#include <iostream>
#include <string>

#include "engine/prompt.h"

namespace verdel {

// Messages go to standard error (CR LF shown as a line break); questions are
// answered Yes only when the user passed --yes.
class TCliPrompt : public TPrompt {
public:
    explicit TCliPrompt(bool answerYes) : AnswerYes(answerYes) {}

    void Message(const std::string& Text) override { std::cerr << Plain(Text) << '\n'; }

    TAnswer Confirm(const std::string& Text, bool /*WithCancel*/) override
    {
        Declined = !AnswerYes;
        std::cerr << Plain(Text) << (AnswerYes ? " Yes (--yes)" : " No (pass --yes to continue)") << '\n';
        return AnswerYes ? TAnswer::Yes : TAnswer::No;
    }

    // Whether a question was answered No.
    bool Declined = false;

private:
    static std::string Plain(std::string text)
    {
        for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
        return text;
    }
    bool AnswerYes;
};

} // namespace verdel
