#pragma once
// A message-box hook for tests: records every box as "caption: text" and gives a fixed answer,
// for the life of the object; the previous hook comes back afterwards.

#include <string>
#include <vector>

#include "component/message_box.h"

namespace morva::com::testing {

class MessageBoxRecorder {
  public:
    explicit MessageBoxRecorder(int answer = IDOK) {
        previous_ = SetMessageBoxHook(
            [this, answer](const std::string& text, const std::string& caption, MbIcon, MbButtons) {
                boxes.push_back(caption + ": " + text);
                return answer;
            });
    }
    ~MessageBoxRecorder() { SetMessageBoxHook(previous_); }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<std::string> boxes;

  private:
    MessageBoxHook previous_;
};

}  // namespace morva::com::testing
