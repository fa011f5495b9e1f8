#pragma once

#include <QByteArray>
#include <stdexcept>
#include <string>
#include <vector>

// The readers of outside data, each as a body that takes any bytes. A body must not crash, and
// it checks what must hold for every input; a broken property throws, which ends a fuzzer's run
// as a crash and fails the replay test.
namespace qk::fuzz {

#define QK_PRUEFEN(bedingung)                                                                      \
    ((bedingung) ? void(0)                                                                         \
                 : throw std::logic_error(std::string(__FILE__) + ":" + std::to_string(__LINE__) + \
                                          ": " #bedingung))

struct Zielangabe {
    const char* name; // of its fuzzer fuzz_<name> and its folder of kept inputs
    void (*ziel)(const QByteArray& eingabe);
    std::vector<QByteArray> saat; // typical files and the edge cases that the reader tells apart
};

const std::vector<Zielangabe>& Alle_Ziele();

} // namespace qk::fuzz
