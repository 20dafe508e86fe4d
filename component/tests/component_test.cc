#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "component/create.h"
#include "component/message_box.h"
#include "component/module.h"
#include "component/registry.h"
#include "component/tests/test_component.h"

namespace morva::com::testing {
namespace {

namespace fs = std::filesystem;

// Each test gets a registry file of its own through MORVA_COMPONENTS.
class ComponentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("morva_component_test_" + std::to_string(getpid()));
        fs::create_directories(dir_);
        registry_ = (dir_ / "components.ini").string();
        setenv("MORVA_COMPONENTS", registry_.c_str(), 1);
        handle_ = dlopen(TEST_COMPONENT_PATH, RTLD_NOW);
        ASSERT_NE(handle_, nullptr) << dlerror();
    }
    void TearDown() override {
        unsetenv("MORVA_COMPONENTS");
        fs::remove_all(dir_);
    }
    template <class F>
    F Entry(const char* name) {
        return reinterpret_cast<F>(dlsym(handle_, name));
    }
    ComPtr<ICounter> Create(std::string* error, HRESULT* hr = nullptr) {
        return CreateInstance<ICounter>(kCounterClsid, "", error, hr);
    }

    fs::path dir_;
    std::string registry_;
    void* handle_ = nullptr;
};

class RecordingSink : public Object<ICounterEvents> {
  public:
    RecordingSink(std::vector<std::string>* log, std::string name) : log_(log), name_(name) {}
    HRESULT OnChanged(int32_t value) override {
        log_->push_back(name_ + "=" + std::to_string(value));
        return S_OK;
    }

  private:
    std::vector<std::string>* log_;
    std::string name_;
};

TEST_F(ComponentTest, RegisterThenCreateByClassIdentifier) {
    std::string error;
    EXPECT_FALSE(Create(&error));
    EXPECT_NE(error.find("class not registered"), std::string::npos) << error;

    ASSERT_EQ(Entry<DllRegisterServerFn>("DllRegisterServer")(), S_OK);
    Registry reg(registry_);
    const std::string key = "CLSID\\" + ToString(kCounterClsid);
    EXPECT_EQ(reg.Get(key), "TestCounter Class");
    EXPECT_EQ(reg.Get(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(reg.Get(key + "\\ProgID"), "Morva.TestCounter.1");
    EXPECT_EQ(reg.Get(key + "\\MiscStatus\\1"), "131473");
    EXPECT_EQ(reg.Get("Morva.TestCounter\\CurVer"), "Morva.TestCounter.1");
    EXPECT_TRUE(reg.HasKey(key + "\\Insertable"));
    EXPECT_EQ(reg.Get(key + "\\InprocServer32"), fs::absolute(TEST_COMPONENT_PATH).string());

    auto counter = Create(&error);
    ASSERT_TRUE(counter) << error;
    counter->Add(5);
    int32_t v = 0;
    counter->Value(&v);
    EXPECT_EQ(v, 5);
}

TEST_F(ComponentTest, UnregisterRemovesExactlyItsEntries) {
    {
        Registry reg(registry_);
        reg.Set("Other\\Key", "@", "kept");
        ASSERT_TRUE(reg.Save(nullptr));
    }
    ASSERT_EQ(Entry<DllRegisterServerFn>("DllRegisterServer")(), S_OK);
    ASSERT_EQ(Entry<DllRegisterServerFn>("DllUnregisterServer")(), S_OK);
    Registry reg(registry_);
    EXPECT_EQ(reg.Keys(), std::vector<std::string>{"Other\\Key"});

    std::string error;
    HRESULT hr = S_OK;
    EXPECT_FALSE(Create(&error, &hr));
    EXPECT_EQ(hr, CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_NE(error.find(ToString(kCounterClsid)), std::string::npos) << error;
}

TEST_F(ComponentTest, RegisteredLibraryThatCannotLoadGivesReason) {
    Registry reg(registry_);
    reg.Set("CLSID\\" + ToString(kCounterClsid) + "\\InprocServer32", "@", "/nonexistent/lib.so");
    ASSERT_TRUE(reg.Save(nullptr));
    std::string error;
    EXPECT_FALSE(Create(&error));
    EXPECT_NE(error.find("/nonexistent/lib.so"), std::string::npos) << error;
}

TEST_F(ComponentTest, SinksReceiveEventsInConnectionOrderAndNoneAfterUnadvise) {
    ASSERT_EQ(Entry<DllRegisterServerFn>("DllRegisterServer")(), S_OK);
    std::string error;
    auto counter = Create(&error);
    ASSERT_TRUE(counter) << error;
    auto cp = counter.As<IConnectionPoint>();
    ASSERT_TRUE(cp);

    std::vector<std::string> log;
    auto a = MakeObject<RecordingSink, ICounterEvents>(&log, "a");
    auto b = MakeObject<RecordingSink, ICounterEvents>(&log, "b");
    uint32_t ca = 0, cb = 0;
    ASSERT_EQ(cp->Advise(b.get(), &cb), S_OK);
    ASSERT_EQ(cp->Advise(a.get(), &ca), S_OK);
    counter->Add(1);
    EXPECT_EQ(log, (std::vector<std::string>{"b=1", "a=1"}));

    EXPECT_EQ(cp->Unadvise(cb), S_OK);
    EXPECT_EQ(cp->Unadvise(cb), CONNECT_E_NOCONNECTION);
    log.clear();
    counter->Add(2);
    EXPECT_EQ(log, std::vector<std::string>{"a=3"});
    EXPECT_EQ(cp->Advise(nullptr, &ca), E_POINTER);
}

TEST_F(ComponentTest, CanUnloadOnlyWhenNoObjectLives) {
    ASSERT_EQ(Entry<DllRegisterServerFn>("DllRegisterServer")(), S_OK);
    auto canUnload = Entry<DllCanUnloadNowFn>("DllCanUnloadNow");
    EXPECT_EQ(canUnload(), S_OK);
    std::string error;
    {
        auto counter = Create(&error);
        ASSERT_TRUE(counter) << error;
        auto second = counter.As<IDispatch>();
        EXPECT_EQ(canUnload(), S_FALSE);
        counter.reset();
        EXPECT_EQ(canUnload(), S_FALSE);
    }
    EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(ComponentTest, InvokeReachesTheSameMethodAsTheDirectCall) {
    ASSERT_EQ(Entry<DllRegisterServerFn>("DllRegisterServer")(), S_OK);
    std::string error;
    auto counter = Create(&error);
    ASSERT_TRUE(counter) << error;
    auto disp = counter.As<IDispatch>();
    ASSERT_TRUE(disp);
    EXPECT_EQ(disp->Invoke(1, {int32_t{7}}, nullptr), S_OK);
    counter->Add(3);
    Variant result;
    EXPECT_EQ(disp->Invoke(2, {}, &result), S_OK);
    EXPECT_EQ(std::get<int32_t>(result), 10);
    EXPECT_EQ(disp->Invoke(1, {std::string("x")}, nullptr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(disp->Invoke(1, {}, nullptr), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(disp->Invoke(99, {}, nullptr), DISP_E_MEMBERNOTFOUND);
    EXPECT_FALSE(counter.As<IClassFactory>());
}

TEST(MessageBoxTest, HookReceivesBoxesAndDefaultAnswersFirstButton) {
    std::vector<std::string> seen;
    auto old = SetMessageBoxHook(
        [&](const std::string& text, const std::string& caption, MbIcon, MbButtons) {
            seen.push_back(caption + "|" + text);
            return int{IDNO};
        });
    EXPECT_EQ(ShowMessageBox("Insufficent Memory", "Morva Script Engine", MbIcon::Stop), IDNO);
    EXPECT_EQ(seen, std::vector<std::string>{"Morva Script Engine|Insufficent Memory"});
    SetMessageBoxHook(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("Continue?", "Q", MbIcon::Question, MbButtons::YesNo), IDYES);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Q: Continue?\n");
    SetMessageBoxHook(old);
}

TEST(StatusTextTest, FailingResultsCarryTheSystemText) {
    EXPECT_EQ(StatusText(E_FAIL), "Unspecified error");
    try {
        Check(E_FAIL);
        FAIL();
    } catch (const ComError& e) {
        EXPECT_STREQ(e.what(), "Unspecified error");
        EXPECT_EQ(e.status(), E_FAIL);
    }
    EXPECT_EQ(Check(S_FALSE), S_FALSE);
    EXPECT_EQ(StatusText(0x12345678), "Error 0x12345678");
}

}  // namespace
}  // namespace morva::com::testing
