#include "component/tests/test_component.h"

#include <array>

#include "component/module.h"

namespace morva::com::testing {
namespace {

class Counter : public Object<ICounter, IConnectionPoint> {
  public:
    HRESULT Add(int32_t amount) override {
        value_ += amount;
        events_.Fire([&](ICounterEvents& sink) { sink.OnChanged(value_); });
        return S_OK;
    }
    HRESULT Value(int32_t* value) override {
        *value = value_;
        return S_OK;
    }
    HRESULT Invoke(int32_t dispId, const std::vector<Variant>& args, Variant* result) override {
        switch (dispId) {
            case 1:
                if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
                if (!std::holds_alternative<int32_t>(args[0])) return DISP_E_TYPEMISMATCH;
                return Add(std::get<int32_t>(args[0]));
            case 2: {
                int32_t v = 0;
                HRESULT hr = Value(&v);
                if (result) *result = v;
                return hr;
            }
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT Advise(IUnknown* sink, uint32_t* cookie) override {
        return events_.Advise(sink, cookie);
    }
    HRESULT Unadvise(uint32_t cookie) override { return events_.Unadvise(cookie); }

  private:
    int32_t value_ = 0;
    ConnectionPoint<ICounterEvents> events_;
};

HRESULT CreateCounter(const Guid& iid, void** out) {
    auto* c = new Counter;
    c->AddRef();
    HRESULT hr = c->QueryInterface(iid, out);
    c->Release();
    return hr;
}

std::span<const ClassInfo> Classes() {
    static const std::array<ClassInfo, 1> classes{
        {{kCounterClsid, "Morva.TestCounter.1", "Morva.TestCounter", "TestCounter Class",
          kCounterTypeLib, "1.0", true, "131473", &CreateCounter}}};
    return classes;
}

}  // namespace
}  // namespace morva::com::testing

MORVA_COMPONENT_ENTRY_POINTS(morva::com::testing::Classes)
