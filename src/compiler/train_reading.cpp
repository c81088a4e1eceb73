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
            case Step::kNext: break;
            case Step::kEndSection: return end_train_section();
            case Step::kLeave: return;
        }
    }
}

DescriptionReading::Step DescriptionReading::train_keywords() {
    auto& tab = s_.tabella_stazioni;
    position_at_.reset();
    if (contains_any_case(campo, "massa") && contains_any_case(campo, "frenata")) {
        tab[kVoceTreno].inizio = reader_->read_number();
    }
    if (contains_any_case(campo, "vetture")) tab[kVoceTreno].posizione = reader_->read_number();
    using Handler = Step (DescriptionReading::*)();
    const auto keyword = [&](std::string_view text, Handler handler) {
        position_at_.reset();
        return contains_any_case(campo, text) ? (this->*handler)() : Step::kNext;
    };
    if (const Step step = keyword("velocit", &DescriptionReading::velocita); step != Step::kNext) return step;
    if (const Step step = keyword("aderenza", &DescriptionReading::aderenza); step != Step::kNext) return step;
    if (contains_any_case(campo, "orologio")) {
        tab[kVoceSegnalamento].attributo_9 = reader_->read_int16();
        tab[kVoceSegnalamento].attributo_10 = reader_->read_int16();
        tab[kVoceSegnalamento].attributo_11 = reader_->read_int16();
    }
    if (contains_any_case(campo, "sabbia")) tab[kVoceSegnalamento].attributo_7 = reader_->read_int16();
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
            if (indice_velocita_ >= s_.ultima_cella()) break;
            cella(s_, indice_velocita_).velocita_limite = byte(velocita_pendente_ / 5.0);
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
            if (indice_aderenza_ > s_.ultima_cella()) return out_of_route(p);
            cella(s_, indice_aderenza_).aderenza = low8(aderenza_pendente_);
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
    const std::int32_t prima = s_.codice_errore;
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
    if (celle.e < 0 || celle.e > s_.ultima_cella()) return out_of_route(posizione);
    const std::int32_t prima = s_.codice_errore;
    memo_rallentamento(s_, posizione, v, l, f_tt, f_ta, d_v);
    return marker_outcome(prima, posizione);
}

// After a marker procedure: any fault recorded so far, its own or an earlier
// one, ends the reading here.
DescriptionReading::Step DescriptionReading::marker_outcome(std::int32_t codice_prima, std::int32_t posizione) {
    if (s_.codice_errore <= 0) return Step::kNext;
    if (s_.codice_errore == codice_prima) {
        return leave(s_.codice_errore, posizione, "the reading stops at this line because of the earlier fault");
    }
    return leave(s_.codice_errore, posizione);
}

DescriptionReading::Step DescriptionReading::abbattimento() {
    const std::int32_t p = read_position();
    const std::int32_t x = reader_->read_number();
    if (too_far(p, kMargine)) return out_of_route(p);
    cella_percorso& c = cella(s_, nearest(p / 50.0));
    if (!libera(c)) return leave(7, p);
    if (x > 0) {
        c.tipo = kAbbattimento;
        c.valore_1 = low16(x);
    } else {
        c.tipo = kAbbattimentoSenzaValore;
    }
    return Step::kNext;
}

DescriptionReading::Step DescriptionReading::stazione() {
    const std::int32_t k = stazione_k_;
    voce_stazione& voce = s_.tabella_stazioni[static_cast<std::size_t>(k)];
    voce.posizione = read_position();
    const std::int32_t posizione = voce.posizione;
    if (too_far(posizione, kMargineStazione)) return out_of_route(posizione);
    if (posizione % 50 != 0) return leave(8, posizione);
    voce.tipo = reader_->read_uint8();
    const std::int32_t lunghezza = reader_->read_number();
    if (lunghezza % 100 != 0) return leave(9, posizione);
    voce.attributo_5 = reader_->read_uint8();
    voce.attributo_15 = reader_->read_uint8();
    voce.attributo_14 = reader_->read_uint8();
    voce.attributo_7 = reader_->read_int16();
    voce.attributo_8 = reader_->read_int16();
    voce.attributo_12 = reader_->read_uint8();
    voce.attributo_9 = reader_->read_int16();
    voce.attributo_10 = reader_->read_int16();
    voce.attributo_11 = reader_->read_int16();
    voce.sosta = reader_->read_uint8();
    const std::int64_t ore = reader_->read_number();
    const std::int64_t minuti = reader_->read_number();
    const std::int64_t secondi = reader_->read_number();
    voce.orario = low32((ore * 60 + minuti) * 60 + secondi);
    const std::string_view nome = reader_->read_text();
    if (nome.size() > 0xFFFF) throw ReadFailure("the station name is longer than 65535 characters", reader_->last_field());
    voce.nome = std::string(nome);

    const std::int64_t p = posizione;
    if (voce.tipo == 5 || voce.tipo == 6) {
        voce.fine = low32(p + 150);
        voce.inizio = low32(p - lunghezza);
        voce.attributo_14 = 0;
    } else if (voce.tipo == 7 || voce.tipo == 8) {
        voce.inizio = low32(p - lunghezza);
        voce.fine = low32(p + lunghezza);
        voce.attributo_14 = 0;
    } else {
        voce.inizio = nearest(static_cast<double>(p) - lunghezza / 2.0);
        voce.fine = nearest(static_cast<double>(p) + lunghezza / 2.0);
        if (voce.attributo_14 != 0) voce.fine = low32(static_cast<std::int64_t>(voce.fine) + 50);
    }
    if (lunghezza < 600) voce.attributo_15 = 0;
    if (k == 1) {
        voce.attributo_14 = 0;
        voce.attributo_15 = 0;
    }

    const bool con_marche = voce.tipo < 25;
    const double fine_cella = voce.fine / 50.0 - 1;
    // The end marker, and with it every approach marker, must lie within the route.
    if (con_marche && fine_cella > 1 && nearest(fine_cella) > s_.ultima_cella()) return out_of_route(posizione);
    if (con_marche && voce.tipo != 5 && voce.tipo != 6) {
        for (std::int32_t m = 1; m <= 4; ++m) {
            const double x = fine_cella - m;
            if (x > 1) cella(s_, nearest(x)).preavviso = low8(kPreavvisoStazione + m);
        }
    }
    if (con_marche) {
        if (fine_cella <= 1) return leave(24);
        cella_percorso& c = cella(s_, nearest(fine_cella));
        c.tipo = kFineStazione;
        c.valore_1 = low16(k);
    }
    if (k > 1 && static_cast<std::int64_t>(voce.inizio) - kDistanzaStazioni <
                     s_.tabella_stazioni[static_cast<std::size_t>(k - 1)].fine) {
        return leave(22, posizione);
    }
    ++stazione_k_;
    if (stazione_k_ >= slot_cartelli_) return leave(10);
    return Step::kNext;
}

void DescriptionReading::end_train_section() {
    reader_.reset();
    delete_file(sources_.train_path);
    const std::int32_t u = s_.ultima_cella();
    do {
        cella(s_, indice_velocita_).velocita_limite = byte(velocita_pendente_ / 5.0);
        ++indice_velocita_;
    } while (indice_velocita_ < u - 2);
    do {
        if (indice_aderenza_ > u) break;
        cella(s_, indice_aderenza_).aderenza = low8(aderenza_pendente_);
        ++indice_aderenza_;
    } while (indice_aderenza_ < u - 2);
    for (const int voce : {kVoceProgressivaTre, kVoceProgressivaDue, kVoceProgressivaUno}) {
        const voce_stazione& v = s_.tabella_stazioni[static_cast<std::size_t>(voce)];
        if (v.inizio % 50 != 0 || v.fine % 50 != 0) {
            record(2, std::nullopt);
            break;
        }
    }
}

}  // namespace scenariogen
