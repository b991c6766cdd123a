// Every reader of every setting applied to arbitrary stored text: the
// conversions must never crash, and what they give must be usable (a number
// that converts is finite, a whole number fits 16 bits, geometry is finite).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/settings.h"
#include "support/fakes.h"

namespace {

using namespace veltra;

void Check(bool ok) {
    if (!ok) {
        std::abort();
    }
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

    test::MemorySettingsStore store;
    for (std::string_view key : settings::Keys()) {
        store.setValue(kSettingsSection, key, text);
    }
    for (const settings::Reader& r : settings::Readers()) {
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
