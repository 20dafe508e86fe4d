#include "component/message_box.h"

#include <cstdio>

namespace morva::com {

namespace {

// The one hook of the process, shared by every component library through this library.
MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

int FirstButton(MbButtons buttons) {
    switch (buttons) {
        case MbButtons::YesNo:
        case MbButtons::YesNoCancel:
            return IDYES;
        case MbButtons::RetryCancel:
            return IDRETRY;
        default:
            return IDOK;
    }
}

}  // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, MbIcon icon,
                   MbButtons buttons) {
    if (const auto& hook = Hook()) return hook(text, caption, icon, buttons);
    std::fflush(stdout);  // what was printed before the box stays before it
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return FirstButton(buttons);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) {
    MessageBoxHook old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

}  // namespace morva::com
