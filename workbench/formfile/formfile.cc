#include "workbench/formfile/formfile.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "component/atomic_file.h"
#include "component/text_util.h"
#include "workbench/formfile/binary_reader.h"
#include "workbench/formfile/binary_writer.h"
#include "workbench/formfile/characters.h"
#include "workbench/formfile/text_parser.h"
#include "workbench/formfile/text_writer.h"

using namespace std::string_view_literals;

namespace morva::formfile {
namespace {

bool ReadWholeFile(const std::string& path, std::string* data, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *error = "Is a directory";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = std::make_error_code(static_cast<std::errc>(errno)).message();
        return false;
    }
    data->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        *error = "Read error";
        return false;
    }
    return true;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string MakeResourceHeader(std::string_view className, uint32_t length) {
    std::string header;
    header += '\xFF';
    header += '\x0A';
    header += '\0';
    header += com::ToUpperAscii(className);
    header += '\0';
    header += '\x30';
    header += '\x10';
    for (int i = 0; i < 4; ++i) header += static_cast<char>((length >> (8 * i)) & 0xFF);
    return header;
}

bool TextToBinary(std::string_view text, ResourceHeader header, std::string* binary,
                  std::string* error) {
    try {
        FormObject root = ParseText(text);
        std::string stream = WriteBinary(root);
        if (stream.size() > UINT32_MAX) throw FormError("form too large");
        binary->clear();
        if (header == ResourceHeader::kInclude) {
            // A resource name that starts with 0xFF reads back as a resource number, and the
            // rest of the header would then be misread: such a file could not be opened.
            if (!root.className.empty() && static_cast<unsigned char>(root.className[0]) == 0xFF)
                throw FormError("Class name '" + root.className + "' cannot name a form resource");
            *binary = MakeResourceHeader(root.className, static_cast<uint32_t>(stream.size()));
        }
        *binary += stream;
        return true;
    } catch (const FormError& e) {
        *error = e.what();
        return false;
    }
}

bool BinaryToText(std::string_view data, std::string* text, std::string* error) {
    try {
        std::string_view stream = StripResourceHeader(data);
        *text = WriteText(ReadBinary(stream, static_cast<size_t>(stream.data() - data.data())));
        return true;
    } catch (const FormError& e) {
        *error = e.what();
        return false;
    }
}

std::string FormFileTargetName(std::string_view source) {
    size_t slash = source.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? source : source.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) name = name.substr(0, dot);
    return std::string(name) + ".DFM";
}

bool ConvertToFormFile(const std::string& source, const std::string& target, std::string* error) {
    std::string targetName = target.empty() ? FormFileTargetName(source) : target;
    auto fail = [&](const std::string& reason) {
        *error = source + ": Error on Converting to .DFM: " + reason;
        return false;
    };
    std::string text, binary, reason;
    if (!ReadWholeFile(source, &text, &reason)) return fail(reason);
    if (!TextToBinary(text, ResourceHeader::kInclude, &binary, &reason)) return fail(reason);
    // Writing over the source would destroy the description the form came from.
    if (SameFile(source, targetName)) return fail(targetName + " is the source file");
    if (!com::WriteFileAtomically(targetName, binary, &reason)) return fail(reason);
    return true;
}

bool ConvertClosedFormFile(RunOutputFiles& files, const std::string& filename, std::string* error) {
    const std::string target = FormFileTargetName(filename);
    auto fail = [&](const std::string& reason) {
        *error = filename + ": Error on Converting to .DFM: " + reason;
        return false;
    };
    std::string text, binary, reason;
    if (!files.ClosedText(filename, &text) &&
        !ReadWholeFile(files.PathOf(filename), &text, &reason))
        return fail(reason);
    if (!TextToBinary(text, ResourceHeader::kInclude, &binary, &reason)) return fail(reason);
    // Writing over the source would destroy the description the form came from. Into memory
    // the source may not be on disk: the names are compared too.
    const std::string source = files.PathOf(filename), binaryPath = files.PathOf(target);
    std::error_code ec;
    if (SameFile(source, binaryPath) || std::filesystem::weakly_canonical(source, ec) ==
                                            std::filesystem::weakly_canonical(binaryPath, ec))
        return fail(target + " is the source file");
    if (int failure = files.Put(target, binary))
        return fail(target + ": " +
                    std::make_error_code(static_cast<std::errc>(failure)).message());
    return true;
}

bool ReadFormFileAsText(const std::string& path, std::string* text, std::string* error) {
    std::string data, reason;
    if (!ReadWholeFile(path, &data, &reason) || !BinaryToText(data, text, &reason)) {
        *error = path + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace morva::formfile
