// The second phase of the reading: the train description. The train's data
// go to the header entries, speed limits and adhesion to every cell, the
// stations to the table with their marker cells, and signals, slowdowns and
// code-drop points to their cells.
#include <array>

#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "compiler/keywords.h"
#include "compiler/markers.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {
constexpr std::int64_t kMargine = 100;           // room after a train object, metres
constexpr std::int64_t kMargineStazione = 800;   // room after a station
constexpr std::int32_t kDistanzaStazioni = 350;  // least gap between station areas
constexpr std::int32_t kPreavvisoStazione = 80;  // approach markers 81 to 84
}  // namespace

void DescriptionReading::train_phase() {
    open(sources_.train_path);
    for (;;) {
        if (reader_->eof()) return end_train_section();
        read_campo();
        if (contains_any_case(campo, "[generale]")) break;
    }
    indice_aderenza_ = 0;
    indice_velocita_ = 0;
    stazione_k_ = 1;
    for (;;) {
        if (reader_->eof()) return end_train_section();
        if (read_campo()) return end_train_section();
        for (int i = 0; i < 2 && contains(campo, "-"); ++i) {
            if (read_campo()) return end_train_section();
        }
        switch (train_keywords()) {
            case Step::kNext:
                break;
            case Step::kEndSection:
                return end_train_section();
            case Step::kLeave:
                return;
        }
    }
}

DescriptionReading::Step DescriptionReading::train_keywords() {
    auto& tab = s_.stations;
    position_at_.reset();
    if (contains_any_case(campo, "massa") && contains_any_case(campo, "frenata")) {
        tab[kTrainEntry].start = reader_->read_number();
    }
    if (contains_any_case(campo, "vetture")) tab[kTrainEntry].position = reader_->read_number();
    using Handler = Step (DescriptionReading::*)();
    const auto keyword = [&](std::string_view text, Handler handler) {
        position_at_.reset();
        return contains_any_case(campo, text) ? (this->*handler)() : Step::kNext;
    };
    if (const Step step = keyword("velocit", &DescriptionReading::velocita); step != Step::kNext) return step;
    if (const Step step = keyword("aderenza", &DescriptionReading::aderenza); step != Step::kNext) return step;
    if (contains_any_case(campo, "orologio")) {
        tab[kSignallingEntry].attribute_9 = reader_->read_int16();
        tab[kSignallingEntry].attribute_10 = reader_->read_int16();
        tab[kSignallingEntry].attribute_11 = reader_->read_int16();
    }
    if (contains_any_case(campo, "sabbia")) tab[kSignallingEntry].attribute_7 = reader_->read_int16();
    for (const auto& [text, handler] : std::array<std::pair<std::string_view, Handler>, 4>{{
             {"segnale", &DescriptionReading::segnale},
             {"rallentamento", &DescriptionReading::rallentamento},
             {"abbattimento", &DescriptionReading::abbattimento},
             {"stazione", &DescriptionReading::stazione},
         }}) {
        if (const Step step = keyword(text, handler); step != Step::kNext) return step;
    }
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::velocita() {
    const std::int32_t p = read_position();
    const std::int32_t v = reader_->read_number();
    if (too_far(p, kMargine)) return out_of_route(p);
    const std::int32_t n = nearest(p / 50.0);
    if (n > 0) {
        do {
            if (indice_velocita_ >= s_.last_cell()) break;
            cella(s_, indice_velocita_).speed_limit = byte(velocita_pendente_ / 5.0);
            ++indice_velocita_;
        } while (indice_velocita_ < n);
    }
    velocita_pendente_ = v;
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::aderenza() {
    const std::int32_t p = read_position();
    const std::int32_t a = reader_->read_number();
    if (too_far(p, kMargine)) return out_of_route(p);
    const std::int32_t n = nearest(p / 50.0);
    if (n > 0) {
        do {
            // Adhesion lines that do not advance write one cell each; past the last cell they are refused.
            if (indice_aderenza_ > s_.last_cell()) return out_of_route(p);
            cella(s_, indice_aderenza_).adhesion = low8(aderenza_pendente_);
            ++indice_aderenza_;
        } while (indice_aderenza_ < n);
    }
    aderenza_pendente_ = a;
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::segnale() {
    const std::int32_t posizione = read_position();
    std::array<std::int32_t, 10> v{};
    for (auto& value : v) value = reader_->read_number();
    if (too_far(posizione, kMargine)) return out_of_route(posizione);
    // The farthest advance cell lies 8 cells before the signal's own.
    if (cella_oggetto(posizione) < kCelleAvvisoSegnale) return out_of_route(posizione);
    const std::int32_t prima = s_.last_error;
    memo_segnale(s_, posizione, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9]);
    return marker_outcome(prima, posizione);
}

DescriptionReading::Step DescriptionReading::rallentamento() {
    const std::int32_t posizione = read_position();
    std::int32_t v = reader_->read_number();
    std::int32_t l = reader_->read_number();
    std::int32_t f_tt = reader_->read_number();
    const std::int32_t f_ta = reader_->read_number();
    std::int32_t d_v = reader_->read_number();
    if (too_far(posizione, kMargine)) return out_of_route(posizione);
    const CelleRallentamento celle = celle_rallentamento(posizione, l);
    if (celle.e < 0 || celle.e > s_.last_cell()) return out_of_route(posizione);
    const std::int32_t prima = s_.last_error;
    memo_rallentamento(s_, posizione, v, l, f_tt, f_ta, d_v);
    return marker_outcome(prima, posizione);
}

// After a marker procedure: any fault recorded so far, its own or an earlier
// one, ends the reading here.
DescriptionReading::Step DescriptionReading::marker_outcome(std::int32_t codice_prima, std::int32_t posizione) {
    if (s_.last_error <= 0) return Step::kNext;
    if (s_.last_error == codice_prima) {
        return leave(s_.last_error, posizione, "the reading stops at this line because of the earlier fault");
    }
    return leave(s_.last_error, posizione);
}

DescriptionReading::Step DescriptionReading::abbattimento() {
    const std::int32_t p = read_position();
    const std::int32_t x = reader_->read_number();
    if (too_far(p, kMargine)) return out_of_route(p);
    Cell& c = cella(s_, nearest(p / 50.0));
    if (!is_free(c)) return leave(7, p);
    if (x > 0) {
        c.kind = kCodeDrop;
        c.value_1 = low16(x);
    } else {
        c.kind = kCodeDropWithoutValue;
    }
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::stazione() {
    const std::int32_t k = stazione_k_;
    StationEntry& voce = s_.stations[static_cast<std::size_t>(k)];
    voce.position = read_position();
    const std::int32_t posizione = voce.position;
    if (too_far(posizione, kMargineStazione)) return out_of_route(posizione);
    if (posizione % 50 != 0) return leave(8, posizione);
    voce.kind = reader_->read_uint8();
    const std::int32_t lunghezza = reader_->read_number();
    if (lunghezza % 100 != 0) return leave(9, posizione);
    voce.attribute_5 = reader_->read_uint8();
    voce.attribute_15 = reader_->read_uint8();
    voce.attribute_14 = reader_->read_uint8();
    voce.attribute_7 = reader_->read_int16();
    voce.attribute_8 = reader_->read_int16();
    voce.attribute_12 = reader_->read_uint8();
    voce.attribute_9 = reader_->read_int16();
    voce.attribute_10 = reader_->read_int16();
    voce.attribute_11 = reader_->read_int16();
    voce.dwell = reader_->read_uint8();
    const std::int64_t ore = reader_->read_number();
    const std::int64_t minuti = reader_->read_number();
    const std::int64_t secondi = reader_->read_number();
    voce.time = low32((ore * 60 + minuti) * 60 + secondi);
    const std::string_view nome = reader_->read_text();
    if (nome.size() > 0xFFFF)
        throw ReadFailure("the station name is longer than 65535 characters", reader_->last_field());
    voce.name = std::string(nome);

    const std::int64_t p = posizione;
    if (voce.kind == 5 || voce.kind == 6) {
        voce.end = low32(p + 150);
        voce.start = low32(p - lunghezza);
        voce.attribute_14 = 0;
    } else if (voce.kind == 7 || voce.kind == 8) {
        voce.start = low32(p - lunghezza);
        voce.end = low32(p + lunghezza);
        voce.attribute_14 = 0;
    } else {
        voce.start = nearest(static_cast<double>(p) - lunghezza / 2.0);
        voce.end = nearest(static_cast<double>(p) + lunghezza / 2.0);
        if (voce.attribute_14 != 0) voce.end = low32(static_cast<std::int64_t>(voce.end) + 50);
    }
    if (lunghezza < 600) voce.attribute_15 = 0;
    if (k == 1) {
        voce.attribute_14 = 0;
        voce.attribute_15 = 0;
    }

    const bool con_marche = voce.kind < 25;
    const double fine_cella = voce.end / 50.0 - 1;
    // The end marker, and with it every approach marker, must lie within the route.
    if (con_marche && fine_cella > 1 && nearest(fine_cella) > s_.last_cell()) return out_of_route(posizione);
    if (con_marche && voce.kind != 5 && voce.kind != 6) {
        for (std::int32_t m = 1; m <= 4; ++m) {
            const double x = fine_cella - m;
            if (x > 1) cella(s_, nearest(x)).approach_marker = low8(kPreavvisoStazione + m);
        }
    }
    if (con_marche) {
        if (fine_cella <= 1) return leave(24);
        Cell& c = cella(s_, nearest(fine_cella));
        c.kind = kStationEnd;
        c.value_1 = low16(k);
    }
    if (k > 1 &&
        static_cast<std::int64_t>(voce.start) - kDistanzaStazioni < s_.stations[static_cast<std::size_t>(k - 1)].end) {
        return leave(22, posizione);
    }
    ++stazione_k_;
    if (stazione_k_ >= slot_cartelli_) return leave(10);
    return Step::kNext;
}

void DescriptionReading::end_train_section() {
    reader_.reset();
    delete_file(sources_.train_path);
    const std::int32_t u = s_.last_cell();
    do {
        cella(s_, indice_velocita_).speed_limit = byte(velocita_pendente_ / 5.0);
        ++indice_velocita_;
    } while (indice_velocita_ < u - 2);
    do {
        if (indice_aderenza_ > u) break;
        cella(s_, indice_aderenza_).adhesion = low8(aderenza_pendente_);
        ++indice_aderenza_;
    } while (indice_aderenza_ < u - 2);
    for (const int voce : {kProgressiveThreeEntry, kProgressiveTwoEntry, kProgressiveOneEntry}) {
        const StationEntry& v = s_.stations[static_cast<std::size_t>(voce)];
        if (v.start % 50 != 0 || v.end % 50 != 0) {
            record(2, std::nullopt);
            break;
        }
    }
}

}  // namespace scenariogen
