#include "compiler/identity_codes.h"

namespace scenariogen {

namespace {

constexpr std::string_view kRiempimento = "aabbccddeeffgghhiillmmnnoo";
constexpr std::size_t kFinestra = 25;

// Lower case in the 8-bit code page of the names (Windows-1252).
unsigned char minuscola(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

std::string finestra(const StationTable& tabella) {
    return finestra_identita(tabella[kSignallingEntry].name, tabella[kScenarioEntry].name);
}

}  // namespace

std::string finestra_identita(const std::string& numero_treno, const std::string& nome_scenario) {
    std::string s = numero_treno + nome_scenario;
    for (char& c : s) c = static_cast<char>(minuscola(static_cast<unsigned char>(c)));
    s += kRiempimento;
    return s.substr(0, kFinestra);
}

std::int16_t codice_gara_og(const StationTable& tabella) {
    std::int32_t somma = 0;
    for (const char c : finestra(tabella)) somma += static_cast<unsigned char>(c);
    return static_cast<std::int16_t>(somma);  // at most 25 × 255
}

std::int32_t codice_gara_st(const StationTable& tabella) {
    std::int32_t somma = 0;
    std::int32_t peso = 1;
    for (const char c : finestra(tabella)) somma += peso++ * static_cast<unsigned char>(c);
    return somma;
}

}  // namespace scenariogen
