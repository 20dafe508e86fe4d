#include "workbench/app/macro_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "component/atomic_file.h"
#include "component/binary_fields.h"

namespace morva::app {

bool ReadMacroFile(const std::string& path, std::vector<MacroButton>* buttons, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    com::FieldReader reader(data);
    int32_t count = 0;
    std::vector<MacroButton> read;
    bool ok = reader.Count(&count);
    for (int32_t i = 0; ok && i < count; ++i) {
        MacroButton button;
        ok = reader.ShortString(&button.caption) && reader.ShortString(&button.hint) &&
             reader.ShortString(&button.text) && reader.Int32(&button.flags);
        if (ok) read.push_back(std::move(button));
    }
    if (!ok) {
        *error = "Invalid file format(" + path + ")";
        return false;
    }
    *buttons = std::move(read);
    return true;
}

std::string EncodeMacroFile(const std::vector<MacroButton>& buttons) {
    com::FieldWriter out;
    out.Int32(static_cast<int32_t>(buttons.size()));
    for (const MacroButton& button : buttons) {
        out.ShortString(button.caption);
        out.ShortString(button.hint);
        out.ShortString(button.text);
        out.Int32(button.flags);
    }
    return out.Take();
}

bool WriteMacroFile(const std::string& path, const std::vector<MacroButton>& buttons,
                    std::string* error) {
    return com::WriteFileAtomically(path, EncodeMacroFile(buttons), error);
}

}  // namespace morva::app
