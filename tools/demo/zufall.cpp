#include "demo/zufall.h"

namespace qk::demo {

int Zufall::Zahl(int von, int bis) {
    if (bis <= von)
        return von;
    const auto spanne = std::uint32_t(bis - von) + 1U;
    return von + int(m_engine() % spanne);
}

} // namespace qk::demo
