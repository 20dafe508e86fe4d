// Late-bound calls to the engine control: IMorva's methods by dispatch identifier.
#include "engine/host/cmorva.h"

namespace morva::tpx {

namespace {

using com::Variant;

/// Reads the arguments of one call, remembering the first type mismatch.
class Args {
  public:
    explicit Args(const std::vector<Variant>& args) : args_(args) {}
    BStr Str(size_t i) {
        const Variant& v = args_[i];
        if (std::holds_alternative<std::string>(v)) return std::get<std::string>(v);
        if (!std::holds_alternative<std::monostate>(v)) bad_ = true;
        return std::nullopt;
    }
    int32_t Int(size_t i) {
        const Variant& v = args_[i];
        if (std::holds_alternative<int32_t>(v)) return std::get<int32_t>(v);
        bad_ = true;
        return 0;
    }
    bool bad() const { return bad_; }

  private:
    const std::vector<Variant>& args_;
    bool bad_ = false;
};

size_t ParamCount(int32_t dispId) {
    switch (dispId) {
        case kDispWrite:
        case kDispWriteLine:
            return 1;
        case kDispCreateDatabase:
            return 2;
        case kDispAddTable:
            return 5;
        case kDispAddColumnIntoTable:
            return 9;
        case kDispClear:
        case kDispRunScript:
        case kDispInitDatabase:
            return 0;
        case kDispSetScript:
            return 2;
        case kDispCreateRefTable:
            return 3;
        case kDispAddRefColumn:
            return 4;
        case kDispSetLookupTable:
            return 5;
        case kDispSetLookupItem:
        case kDispSetRoom:
        case kDispSetSchema:
            return 3;
        case kDispSetOutputPolicy:
        case kDispSetOutputFolder:
            return 1;
        case kDispGetRunSummary:
            return 0;
        default:
            return SIZE_MAX;
    }
}

}  // namespace

HRESULT CMorva::Invoke(int32_t dispId, const std::vector<Variant>& args, Variant* result) {
    size_t expected = ParamCount(dispId);
    if (expected == SIZE_MAX) return com::DISP_E_MEMBERNOTFOUND;
    if (args.size() != expected) return com::DISP_E_BADPARAMCOUNT;
    if (result) *result = std::monostate{};
    Args a(args);
    // Arguments are read in order before the call so that a mismatch never half-calls.
    auto call = [&](auto&& method) { return a.bad() ? com::DISP_E_TYPEMISMATCH : method(); };
    switch (dispId) {
        case kDispWrite: {
            auto s = a.Str(0);
            return call([&] { return Write(s); });
        }
        case kDispWriteLine: {
            auto s = a.Str(0);
            return call([&] { return WriteLine(s); });
        }
        case kDispCreateDatabase: {
            auto s = a.Str(0);
            auto n = a.Int(1);
            return call([&] { return CreateDatabase(s, n); });
        }
        case kDispAddTable: {
            auto n = a.Str(0), t = a.Str(1), l = a.Str(2);
            auto c = a.Int(3), r = a.Int(4);
            return call([&] { return AddTable(n, t, l, c, r); });
        }
        case kDispAddColumnIntoTable: {
            auto t = a.Str(0), ct = a.Str(1), c = a.Str(2), l = a.Str(3), d = a.Str(4);
            auto sz = a.Int(5), inx = a.Int(6), p = a.Int(7), sc = a.Int(8);
            return call([&] { return AddColumnIntoTable(t, ct, c, l, d, sz, inx, p, sc); });
        }
        case kDispClear:
            return Clear();
        case kDispSetScript: {
            auto f = a.Str(0), code = a.Str(1);
            return call([&] { return SetScript(f, code); });
        }
        case kDispRunScript:
            return RunScript();
        case kDispInitDatabase:
            return InitDatabase();
        case kDispCreateRefTable: {
            auto t = a.Str(0), r = a.Str(1);
            auto n = a.Int(2);
            return call([&] { return CreateRefTable(t, r, n); });
        }
        case kDispAddRefColumn: {
            auto t = a.Str(0), r = a.Str(1), rc = a.Str(2), k = a.Str(3);
            return call([&] { return AddRefColumn(t, r, rc, k); });
        }
        case kDispSetLookupTable: {
            auto t = a.Str(0), c = a.Str(1), lt = a.Str(2), lc = a.Str(3), lk = a.Str(4);
            return call([&] { return SetLookupTable(t, c, lt, lc, lk); });
        }
        case kDispSetLookupItem: {
            auto t = a.Str(0), c = a.Str(1), i = a.Str(2);
            return call([&] { return SetLookupItem(t, c, i); });
        }
        case kDispSetRoom: {
            auto n = a.Str(0), t = a.Str(1), l = a.Str(2);
            return call([&] { return SetRoom(n, t, l); });
        }
        case kDispSetSchema: {
            auto n = a.Str(0), t = a.Str(1), l = a.Str(2);
            return call([&] { return SetSchema(n, t, l); });
        }
        case kDispSetOutputPolicy: {
            auto m = a.Int(0);
            return call([&] { return SetOutputPolicy(m); });
        }
        case kDispSetOutputFolder: {
            // The result is the reason a folder is refused, empty when it is accepted.
            auto f = a.Str(0);
            return call([&] {
                std::string reason;
                HRESULT hr = SetOutputFolder(f, &reason);
                if (result) *result = reason;
                return hr;
            });
        }
        case kDispGetRunSummary: {
            // The result is the summary line of the last run's output.
            RunOutput out;
            HRESULT hr = GetRunOutput(&out);
            if (result && hr == com::S_OK)
                *result = OutputSummary(out.written, out.unchanged, 0, out.stale.size(),
                                        static_cast<int>(out.failed.size()));
            return hr;
        }
        default:
            return com::DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace morva::tpx
