// Every reader of every setting applied to arbitrary stored text: the
// conversions must never crash, and what they give must be usable (a number
// that converts is finite, a whole number fits 16 bits, geometry is finite).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings_store.h"
#include "shell/settings.h"

namespace {

using namespace veltra;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

// Every key of the section holds the same text. A map-backed store filled
// key by key costs an allocation and a string comparison per key for every
// input, which is most of the time an input takes; the readers only ever
// ask for values.
class OneTextStore : public SettingsStore {
public:
    explicit OneTextStore(std::string_view text) : text_(text) {}
    std::optional<std::string> value(std::string_view section,
                                     std::string_view /*key*/) const override {
        if (section != kSettingsSection) {
            return std::nullopt;
        }
        return std::string(text_);
    }
    void setValue(std::string_view, std::string_view, std::string_view) override {
        std::abort();  // reading a setting never writes one
    }

private:
    std::string_view text_;
};

// One reader for each rule and default: the others convert the same text
// the same way, and trying all of them for every input only repeated work.
const std::vector<settings::Reader>& Distinct() {
    static const std::vector<settings::Reader> distinct = [] {
        std::vector<settings::Reader> out;
        for (const settings::Reader& r : settings::Readers()) {
            const bool seen = std::any_of(out.begin(), out.end(), [&](const settings::Reader& o) {
                return o.rule == r.rule && o.defaultText == r.defaultText;
            });
            if (!seen) {
                out.push_back(r);
            }
        }
        return out;
    }();
    return distinct;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    if (auto n = settings::ParseNumber(text)) {
        Check(std::isfinite(*n));
        // A whole text that is a number is its own numeric prefix, blanks aside.
        if (text.find_first_of(" \t\r\n") == std::string_view::npos) {
            Check(settings::LeadingNumber(text) == *n);
        }
    }
    Check(std::isfinite(settings::LeadingNumber(text)));

    const OneTextStore store(text);
    for (const settings::Reader& r : Distinct()) {
        switch (r.rule) {
            case settings::Rule::EqualsOne:
            case settings::Rule::Truth:
            case settings::Rule::NotZero:
                (void)settings::ReadBool(store, r.key, r.use);
                break;
            case settings::Rule::Whole:
            case settings::Rule::LeadingNumber: {
                const int v = settings::ReadInt(store, r.key, r.use);
                Check(v >= INT16_MIN && v <= INT16_MAX);
                break;
            }
            case settings::Rule::Text:
                Check(settings::ReadText(store, r.key, r.use) == text);
                break;
            case settings::Rule::Single:
                Check(std::isfinite(settings::ReadSingle(store, r.key, 1234.0f)));
                break;
        }
    }
    return 0;
}
