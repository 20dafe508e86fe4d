#include "component/registry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "component/atomic_file.h"
#include "component/text_util.h"

namespace morva::com {
namespace {

namespace fs = std::filesystem;

TEST(RegistryTest, KeysAndValuesSurviveSaveAndIgnoreCase) {
    fs::path file = fs::temp_directory_path() / ("morva_reg_" + std::to_string(getpid()) + ".ini");
    {
        Registry r(file.string());
        r.Set("CLSID\\{X}", "@", "Desc");
        r.Set("CLSID\\{X}\\InprocServer32", "ThreadingModel", "Apartment");
        r.Set("CLSID\\{X}\\InprocServer32", "@", "/a b/lib=1.so");
        r.CreateKey("CLSID\\{X}\\Control");
        r.Set("CLSIDX", "@", "sibling, not below");
        ASSERT_TRUE(r.Save(nullptr));
    }
    Registry r(file.string());
    EXPECT_EQ(r.Get("clsid\\{x}"), "Desc");
    EXPECT_EQ(r.Get("CLSID\\{X}\\InprocServer32"), "/a b/lib=1.so");
    EXPECT_EQ(r.Get("CLSID\\{X}\\InprocServer32", "threadingmodel"), "Apartment");
    EXPECT_TRUE(r.HasKey("CLSID\\{X}\\Control"));
    EXPECT_FALSE(r.Get("CLSID\\{X}\\Control"));
    r.RemoveTree("CLSID\\{X}");
    EXPECT_EQ(r.Keys(), std::vector<std::string>{"CLSIDX"});
    fs::remove(file);
}

TEST(TextUtilTest, AtomicWriteReplacesAndReportsFailure) {
    fs::path dir = fs::temp_directory_path() / ("morva_atomic_" + std::to_string(getpid()));
    fs::path file = dir / "sub" / "f.bin";
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file.string(), std::string("a\0b", 3), &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(file.string(), "new", &error)) << error;
    std::ifstream in(file, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), {}), 1);
    EXPECT_FALSE(WriteFileAtomically("/proc/nonexistent/x", "y", &error));
    EXPECT_NE(error.find("/proc/nonexistent/x"), std::string::npos);
    fs::remove_all(dir);
}

TEST(TextUtilTest, CaseFoldingTouchesAsciiLettersOnly) {
    EXPECT_EQ(ToUpperAscii("abc_z\xC3\xA9"), "ABC_Z\xC3\xA9");
    EXPECT_TRUE(EqualsIgnoreCase("Orders", "ORDERS"));
    EXPECT_FALSE(EqualsIgnoreCase("\xC3\xA9", "\xC3\x89"));
}

}  // namespace
}  // namespace morva::com
