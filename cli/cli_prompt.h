// The batch tool's answers to the engine's messages and questions.
#pragma once

#include <iostream>
#include <string>
#include <string_view>

#include "engine/prompt.h"

namespace verdel {

namespace cli {

// A message as the dialogs show it, with its CR LF as a plain line break.
inline std::string Plain(std::string_view Text)
{
    std::string plain;
    plain.reserve(Text.size());
    for (size_t i = 0; i < Text.size(); ++i)
        if (!(Text[i] == '\r' && i + 1 < Text.size() && Text[i + 1] == '\n')) plain += Text[i];
    return plain;
}

} // namespace cli

// Messages go to standard error (CR LF shown as a line break); questions are
// answered Yes only when the user passed --yes.
class TCliPrompt : public TPrompt {
public:
    explicit TCliPrompt(bool answerYes) : AnswerYes(answerYes) {}

    void Message(const std::string& Text) override { std::cerr << cli::Plain(Text) << '\n'; }

    TAnswer Confirm(const std::string& Text, bool /*WithCancel*/) override
    {
        Declined = !AnswerYes;
        std::cerr << cli::Plain(Text) << (AnswerYes ? " Yes (--yes)" : " No (pass --yes to continue)") << '\n';
        return AnswerYes ? TAnswer::Yes : TAnswer::No;
    }

    // Whether a question was answered No.
    bool Declined = false;

private:
    bool AnswerYes;
};

} // namespace verdel
