// The state of one reading of the two description files: the reader, the
// field just read (campo) and the working values that the two phases share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "compiler/field_reader.h"
#include "compiler/memorizza_dati.h"

namespace scenariogen {

class DescriptionReading {
public:
    DescriptionReading(Scenario& s, const DescriptionSources& sources) : s_(s), sources_(sources) {}

    // The whole of memorizza_dati, with the run-time failure path.
    void run();

private:
    enum class Phase { kGoesOn, kLeave };  // after a phase: read on, or leave memorizza_dati
    enum class Step { kNext, kEndSection, kLeave };

    // The line description.
    Phase line_phase();
    Phase general_section();
    Step general_keywords();
    void start_track();
    Phase line_section();  // kLeave after a fault other than 15
    Step line_keywords();
    Step pendenza();
    Step curva();
    Step montagna();
    Step indicatori();
    Step cartello();
    void end_line_section();

    // The train description.
    void train_phase();
    Step train_keywords();
    Step velocita();
    Step aderenza();
    Step segnale();
    Step rallentamento();
    Step abbattimento();
    Step stazione();
    Step marker_outcome(std::int32_t codice_prima, std::int32_t posizione);
    void end_train_section();

    // Reading.
    void open(const std::string& path);
    bool read_campo();  // reads the next field into campo; true when the file is now exhausted
    std::int32_t read_position();
    bool too_far(std::int64_t p, std::int64_t margin) const;

    // Faults.
    Step out_of_route(std::int32_t p);
    // Records the fault, closes and deletes the file being read, and leaves.
    Step leave(std::int32_t codice, std::optional<std::int32_t> posizione = std::nullopt, std::string detail = {});
    void record(std::int32_t codice, std::optional<std::int32_t> posizione, std::string detail = {});
    void record_run_time_failure(const std::string& what, std::optional<FieldPosition> where);
    void delete_file(const std::string& path);

    Scenario& s_;
    const DescriptionSources& sources_;
    std::optional<FieldReader> reader_;
    std::string file_;  // the file being read
    std::string campo;
    FieldPosition campo_at_;
    std::optional<FieldPosition> position_at_;  // the current line's position field

    // Working values of the line description.
    std::int32_t pendenza_in_vigore_ = 0;
    std::int32_t indice_pendenza_ = 0;
    std::int32_t slot_cartelli_ = kFirstSignEntry;

    // Working values of the train description.
    std::int32_t stazione_k_ = 1;
    std::int32_t indice_velocita_ = 0;
    std::int32_t indice_aderenza_ = 0;
    std::int32_t velocita_pendente_ = 0;
    std::int32_t aderenza_pendente_ = 0;
};

}  // namespace scenariogen
