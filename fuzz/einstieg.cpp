// The libFuzzer entry of one target; QK_FUZZ_ZIEL names the body (see ziele.h).
#include "ziele.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    // Raw data, no copy: a read past the input's end is then a fault that ASan sees.
    const QByteArray eingabe =
        QByteArray::fromRawData(reinterpret_cast<const char*>(daten), qsizetype(groesse));
    try {
        qk::fuzz::QK_FUZZ_ZIEL(eingabe);
    } catch (const qk::fuzz::Verletzung& v) {
        std::fprintf(stderr, "property broken: %s\n", v.what());
        std::abort();
    }
    return 0;
}
