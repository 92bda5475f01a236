// Arbitrary answers of the e-mail settings server read as alert settings:
// nothing read may be longer than the answer that held it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "basinsetup/emaildlg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    CZVMSG answer(0, ZVM_EMAIL_GETALERTSA, static_cast<int32_t>(size));
    if (size) std::memcpy(answer.GetData(), data, size);
    CEmailSettings settings;
    ReadAlertSettings(answer, settings);
    size_t total = settings.password.size() + settings.address.size() + settings.city.size() + settings.zip.size();
    for (const auto& r : settings.recipients) total += r.size();
    if (total > size || settings.recipients.size() > size) __builtin_trap();
    return 0;
}
