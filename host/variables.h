// The host variables: a store of doubles by id, the table of every id the
// cockpit reads (with its meaning, the cold-and-dark value it starts from and
// whether it is delivered as a 32-bit integer), and how a module's host
// variable record is filled.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "frame/records.h"

struct VariableInfo {
    uint32_t id;
    const char* name;        // short name usable in scripts instead of the id
    double seed;             // value of a cold-and-dark aircraft parked at a gate
    bool integer;            // delivered as a 32-bit integer in the record
};

// Every variable the host knows, ordered by id.
const VariableInfo* variable_table(int* count);
const VariableInfo* find_variable(uint32_t id);
std::optional<uint32_t> variable_by_name(std::string_view name);

// Ids outside the table up to this bound are accepted from modules (they read 0).
constexpr uint32_t VARIABLE_LIMIT = 1024;

// Type word the host writes into a record it fills.
constexpr uint32_t VARIABLE_TYPE_DOUBLE = 1;
constexpr uint32_t VARIABLE_TYPE_INT32 = 2;

struct VariableStore {
    double values[VARIABLE_LIMIT] = {};

    double get(uint32_t id) const { return id < VARIABLE_LIMIT ? values[id] : 0.0; }
    void set(uint32_t id, double v) {
        if (id < VARIABLE_LIMIT) values[id] = v;
    }
    // Every variable of the table back to its cold-and-dark value.
    void seed();
    // Fills a module's record: integer variables as a 32-bit integer in the
    // first four bytes of the value field (the rest zero), every other one as
    // a double.
    void fill(HostVariable* record) const;

    // Variables a script holds (set, ramp): the aircraft model's motion from
    // frame to frame leaves them alone until the script releases them.
    // Events the cockpit sends still act on them.
    bool pinned[VARIABLE_LIMIT] = {};
    void pin(uint32_t id, bool on) {
        if (id < VARIABLE_LIMIT) pinned[id] = on;
    }
    // The aircraft model's write: a pinned variable keeps its value. Returns
    // what the variable holds afterwards, so that what the model computes from
    // it next follows the pinned value.
    double drive(uint32_t id, double v) {
        if (id < VARIABLE_LIMIT && !pinned[id]) values[id] = v;
        return get(id);
    }
};
