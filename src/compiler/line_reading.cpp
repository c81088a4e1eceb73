// The first phase of the reading: the line description. Its general section
// sets the route length, the progressives, the backgrounds and the signal
// repetition; its line section marks gradients, curves, mountain stretches,
// speed-indicator boards and sign boards.
#include <algorithm>
#include <array>

#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "compiler/keywords.h"
#include "compiler/markers.h"
#include "compiler/plan_geometry.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {
constexpr int kTrattiniGenerale = 10;   // dash fields skipped in a row in the general section
constexpr std::int64_t kMargine = 100;  // room after a line object, metres

bool starts_with_dash(std::string_view campo) {
    const auto first = campo.find_first_not_of(' ');
    return first != std::string_view::npos && campo[first] == '-';
}
}  // namespace

DescriptionReading::Phase DescriptionReading::line_phase() {
    file_ = sources_.line_path;
    if (!file_exists(sources_.line_path)) {
        record(101, std::nullopt);
        return Phase::kLeave;
    }
    open(sources_.line_path);
    for (;;) {
        const bool exhausted = read_campo();
        if (exhausted) {
            leave(102);
            return Phase::kLeave;
        }
        if (contains_any_case(campo, "[generale]")) break;
    }
    if (general_section() == Phase::kLeave) return Phase::kLeave;
    if (!s_.has_cells()) {
        throw ReadFailure("the general section ends without a \"lunghezza percorso\" line", campo_at_);
    }
    start_track();
    if (line_section() == Phase::kLeave) return Phase::kLeave;
    end_line_section();
    return Phase::kGoesOn;
}

DescriptionReading::Phase DescriptionReading::general_section() {
    for (;;) {
        if (reader_->eof()) return Phase::kGoesOn;
        if (read_campo()) return Phase::kGoesOn;
        for (int i = 0; i < kTrattiniGenerale && contains(campo, "-"); ++i) read_campo();
        if (general_keywords() == Step::kLeave) return Phase::kLeave;
        if (contains(campo, "[") && contains(campo, "]") && !starts_with_dash(campo)) return Phase::kGoesOn;
    }
}

DescriptionReading::Step DescriptionReading::general_keywords() {
    auto& tab = s_.stations;
    if (contains_any_case(campo, "percorso") && contains_any_case(campo, "lunghezza")) {
        const std::int32_t lunghezza = reader_->read_number();
        tab[kTrainEntry].end = lunghezza;
        if (lunghezza > kMaxRouteLength || lunghezza < 0) return leave(1);
        const std::int32_t g = lunghezza + 7000;
        s_.cells.assign(static_cast<std::size_t>(nearest(g / 50.0)) + 1, Cell{});
        if (s_.j != 0) s_.grid.set_size(g);
    }
    const auto terna = [&](StationEntry& voce) {
        voce.start = reader_->read_number();
        voce.end = reader_->read_number();
        voce.position = reader_->read_number();
    };
    if (contains(campo, "tre") && contains(campo, "progressiva")) terna(tab[kProgressiveThreeEntry]);
    if (contains(campo, "due") && contains(campo, "progressiva")) terna(tab[kProgressiveTwoEntry]);
    if (contains(campo, "uno") && contains(campo, "progressiva")) terna(tab[kProgressiveOneEntry]);
    if (contains(campo, "sfondo") && contains(campo, "uno")) tab[kScenarioEntry].start = reader_->read_number();
    if (contains(campo, "sfondo") && contains(campo, "due")) tab[kScenarioEntry].position = reader_->read_number();
    if (contains(campo, "sfondo") && contains(campo, "tre")) tab[kScenarioEntry].end = reader_->read_number();
    if (contains(campo, "segnali") && contains(campo, "ripetizione")) {
        StationEntry& voce = tab[kSignallingEntry];
        voce.start = reader_->read_number();
        voce.end = reader_->read_number();
        if (voce.start % 50 != 0) return leave(3);
        if (voce.end % 50 != 0) return leave(4);
        if (contains(campo, "4")) {
            voce.position = 4;
        } else if (contains(campo, "9")) {
            voce.position = 9;
        } else {
            return leave(5);
        }
        if (voce.end == 0) voce.position = 0;
    }
    return Step::kNext;
}

void DescriptionReading::start_track() {
    progressive_ordina(s_);
    s_.mountain_count = 0;
    slot_cartelli_ = kFirstSignEntry;
    indice_pendenza_ = 0;
    if (s_.j != 0) inizio_tracciato(s_.grid);
}

DescriptionReading::Phase DescriptionReading::line_section() {
    for (;;) {
        if (reader_->eof()) return Phase::kGoesOn;
        if (read_campo()) return Phase::kGoesOn;
        for (int i = 0; i < 2 && contains(campo, "-"); ++i) {
            if (read_campo()) return Phase::kGoesOn;
        }
        switch (line_keywords()) {
            case Step::kNext:
                break;
            case Step::kEndSection:
                return Phase::kGoesOn;  // error 15: the normal end follows
            case Step::kLeave:
                return Phase::kLeave;
        }
    }
}

DescriptionReading::Step DescriptionReading::line_keywords() {
    using Handler = Step (DescriptionReading::*)();
    for (Handler handler : std::array<Handler, 5>{&DescriptionReading::pendenza, &DescriptionReading::curva,
                                                  &DescriptionReading::montagna, &DescriptionReading::indicatori,
                                                  &DescriptionReading::cartello}) {
        position_at_.reset();
        const Step step = (this->*handler)();
        if (step != Step::kNext) return step;
    }
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::pendenza() {
    if (!contains_any_case(campo, "pendenza")) return Step::kNext;
    const std::int32_t p = read_position();
    const std::int32_t g = reader_->read_number();
    if (too_far(p, kMargine)) return out_of_route(p);
    const std::int32_t e = nearest(p / 50.0);
    if (e > 0) {
        do {
            // Gradient lines out of order write one cell each; past the last cell they are refused.
            if (indice_pendenza_ > s_.last_cell()) return out_of_route(p);
            cella(s_, indice_pendenza_).gradient = low8(static_cast<std::int64_t>(pendenza_in_vigore_) + 100);
            ++indice_pendenza_;
        } while (indice_pendenza_ < e);
    }
    pendenza_in_vigore_ = g;
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::curva() {
    if (s_.j == 0 || !contains_any_case(campo, "curva")) return Step::kNext;
    const std::int32_t inizio = read_position();
    const std::int32_t lunghezza = reader_->read_number();
    if (too_far(inizio, kMargine)) return out_of_route(inizio);
    static constexpr std::array<std::pair<char, double>, 6> kClassi{
        {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003}}};
    double k = 0;
    for (const auto& [cifra, curvatura] : kClassi) {
        if (campo.find(cifra) != std::string::npos) {
            k = curvatura;
            break;
        }
    }
    if (k == 0) return leave(103);
    if (contains_any_case(campo, "s")) k = -k;
    // Every metre the curve reaches must lie within the grid.
    const std::int64_t fine = static_cast<std::int64_t>(inizio) + lunghezza;
    if (std::max<std::int64_t>(inizio, fine) > s_.grid.last_metre) return out_of_route(inizio);
    if (!scenariogen::curva(s_.grid, inizio, lunghezza, k)) return leave(103);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::montagna() {
    if (!contains_any_case(campo, "montagna")) return Step::kNext;
    std::int32_t inizio = read_position();
    std::int32_t fine = reader_->read_number();
    std::int32_t tipo = reader_->read_number();
    if (too_far(inizio, kMargine)) return out_of_route(inizio);
    if (s_.mountain_count >= kMaxMountainStretches) return leave(10, inizio);
    if (celle_montagna(inizio, fine).ultima > s_.last_cell()) return out_of_route(inizio);
    memo_montagna(s_, inizio, fine, tipo);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::indicatori() {
    if (!contains_any_case(campo, "indicatori_v")) return Step::kNext;
    const std::int32_t posizione = read_position();
    std::array<std::int32_t, 8> v{};
    for (auto& value : v) value = reader_->read_number();
    if (too_far(posizione, kMargine)) return out_of_route(posizione);
    memo_indicatori_v_max(s_, posizione, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    if (s_.last_error > 0) return leave(s_.last_error, posizione);
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::cartello() {
    if (!contains_any_case(campo, "indicat") || !contains_any_case(campo, "cartello")) return Step::kNext;
    const std::int32_t p = read_position();
    const std::string_view testo = reader_->read_text();
    if (testo.size() > 0xFFFF)
        throw ReadFailure("the sign text is longer than 65535 characters", reader_->last_field());
    if (too_far(p, kMargine)) return out_of_route(p);
    Cell& c = cella(s_, cella_oggetto(p));
    if (!is_free(c)) return leave(6, p);
    // Entry 0 stays empty: the 81st sign has no entry left.
    if (slot_cartelli_ < 1) return leave(10, p);
    c.kind = kSign;
    c.value_1 = low16(slot_cartelli_);
    s_.stations[static_cast<std::size_t>(slot_cartelli_)].name = std::string(testo);
    --slot_cartelli_;
    return Step::kNext;
}

void DescriptionReading::end_line_section() {
    reader_.reset();
    delete_file(sources_.line_path);
    const std::int32_t u = s_.last_cell();
    do {
        if (indice_pendenza_ > u) break;
        cella(s_, indice_pendenza_).gradient = low8(static_cast<std::int64_t>(pendenza_in_vigore_) + 100);
        ++indice_pendenza_;
    } while (indice_pendenza_ < u - 2);
    if (s_.j != 0) rettilineo_fino_a(s_.grid, static_cast<std::int64_t>(s_.grid.last_metre) - 2);
}

}  // namespace scenariogen
