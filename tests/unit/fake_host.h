// A small stand-in for the simulator's host function table in unit tests:
// it serves host variables from a map and records every host event.
//
// Construct one in a test (or fixture); it writes its table into
// ImportTable for its lifetime and takes it out again when destroyed, so
// tests that run after it see the module without a host.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "frame/host_ops.h"

struct FakeHostEvent {
    uint32_t id;
    uint32_t value;
    bool operator==(const FakeHostEvent&) const = default;
};

class FakeHost {
public:
    FakeHost() {
        current() = this;
        table_.send_event = &FakeHost::send_event;
        table_.read_variable = &FakeHost::read_variable;
        ImportTable.host_table = &table_;
    }
    ~FakeHost() {
        ImportTable.host_table = nullptr;
        current() = nullptr;
    }
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    void set(uint32_t id, double value) { variables_[id] = value; }
    double get(uint32_t id) const {
        auto found = variables_.find(id);
        return found == variables_.end() ? 0.0 : found->second;
    }

    const std::vector<FakeHostEvent>& events() const { return events_; }
    void clear_events() { events_.clear(); }

    // The events with id `id`, in the order sent.
    std::vector<uint32_t> values_of(uint32_t id) const {
        std::vector<uint32_t> values;
        for (const FakeHostEvent& e : events_)
            if (e.id == id) values.push_back(e.value);
        return values;
    }
    size_t count(uint32_t id) const { return values_of(id).size(); }

    // Position of the first event with id `id` in the record, or -1.
    int position(uint32_t id) const {
        for (size_t i = 0; i < events_.size(); ++i)
            if (events_[i].id == id) return static_cast<int>(i);
        return -1;
    }

    // How often each variable was read.
    int reads(uint32_t id) const {
        auto found = reads_.find(id);
        return found == reads_.end() ? 0 : found->second;
    }

private:
    static FakeHost*& current() {
        static FakeHost* host = nullptr;
        return host;
    }
    static void FS_CALL send_event(uint32_t id, uint32_t value) {
        current()->events_.push_back({id, value});
    }
    static void FS_CALL read_variable(HostVariable* variable) {
        ++current()->reads_[variable->id];
        variable->value = current()->get(variable->id);
    }

    HostFunctionTable table_{};
    std::map<uint32_t, double> variables_;
    std::map<uint32_t, int> reads_;
    std::vector<FakeHostEvent> events_;
};
