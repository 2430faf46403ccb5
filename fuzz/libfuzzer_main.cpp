// libFuzzer's entry point for one target; ZEP_FUZZ_BODY names its body.
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zepfuzz::ZEP_FUZZ_BODY(data, size);
    return 0;
}
