// How the engine reaches the user: messages, Yes/No questions and the busy state.
#pragma once

#include <string>

namespace verdel {

enum class TAnswer { Yes, No, Cancel };

// Implemented by the GUI with message boxes, by the batch tool with standard
// error and its --yes flag, and by tests with scripted answers.
class TPrompt {
public:
    virtual ~TPrompt() = default;

    // A plain message box.
    virtual void Message(const std::string& Text) = 0;

    // A confirmation box with Yes and No, or Yes, No and Cancel.
    virtual TAnswer Confirm(const std::string& Text, bool WithCancel) = 0;

    // Long work begins (hourglass cursor, status text) and ends.
    virtual void BeginBusy(const std::string& /*StatusText*/) {}
    virtual void EndBusy() {}
};

} // namespace verdel
