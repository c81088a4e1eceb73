// RemovedOnInterruption: a file's place in the registry that the
// interruption handler reads, the same on every system.
#include <cstring>
#include <stdexcept>

#include "platform/files_in_flight.h"
#include "platform/interruption.h"

namespace scenariogen {

RemovedOnInterruption::RemovedOnInterruption(const std::string& path) : path_(new char[path.size() + 1]) {
    std::memcpy(path_.get(), path.c_str(), path.size() + 1);
    files_in_flight::Slots& slots = files_in_flight::slots();
    for (int slot = 0; slot < static_cast<int>(slots.size()); ++slot) {
        const char* free = nullptr;
        if (slots[static_cast<std::size_t>(slot)].compare_exchange_strong(free, path_.get())) {
            slot_ = slot;
            return;
        }
    }
    throw std::length_error("more files in flight than the interruption handler can hold");
}

RemovedOnInterruption::RemovedOnInterruption(RemovedOnInterruption&& other) noexcept
    : path_(std::move(other.path_)), slot_(other.slot_) {
    other.slot_ = -1;
}

RemovedOnInterruption& RemovedOnInterruption::operator=(RemovedOnInterruption&& other) noexcept {
    if (this != &other) {
        release();
        path_ = std::move(other.path_);
        slot_ = other.slot_;
        other.slot_ = -1;
    }
    return *this;
}

RemovedOnInterruption::~RemovedOnInterruption() { release(); }

void RemovedOnInterruption::release() noexcept {
    if (slot_ >= 0) files_in_flight::slots()[static_cast<std::size_t>(slot_)].store(nullptr);
    slot_ = -1;
}

}  // namespace scenariogen
