#include "frame/host_ops.h"

#include <cstring>

ImportTableRecord ImportTable = {IMPORT_TABLE_KEY, nullptr, 0, nullptr};

static const HostFunctionTable* host_table() {
    return static_cast<const HostFunctionTable*>(ImportTable.host_table);
}

// Calls the operation in slot `op` when the host has filled the table and the slot.
#define CALL_HOST(op, ...)                                  \
    do {                                                    \
        const HostFunctionTable* table = host_table();      \
        if (table && table->op) table->op(__VA_ARGS__);     \
    } while (0)

void host_gauge_query(ElementHead* e) { CALL_HOST(gauge_query, e); }
void host_gauge_install(ElementHead* e, uint32_t v) { CALL_HOST(gauge_install, e, v); }
void host_gauge_initialize(ElementHead* e) { CALL_HOST(gauge_initialize, e); }
void host_gauge_update(ElementHead* e) { CALL_HOST(gauge_update, e); }
void host_gauge_generate(ElementHead* e, uint32_t phase) { CALL_HOST(gauge_generate, e, phase); }
void host_gauge_draw(ElementHead* e) { CALL_HOST(gauge_draw, e); }
void host_gauge_kill(ElementHead* e) { CALL_HOST(gauge_kill, e); }
void host_mouse_install(MouseRect* r, GaugeHeader* g, int32_t* size) { CALL_HOST(mouse_install, r, g, size); }
void host_mouse_register(MouseRect* r, GaugeHeader* g) { CALL_HOST(mouse_register, r, g); }
void host_mouse_unregister(MouseRect* r, GaugeHeader* g) { CALL_HOST(mouse_unregister, r, g); }
void send_host_event(uint32_t event, uint32_t value) { CALL_HOST(send_event, event, value); }
void initialize_host_variable(HostVariable* v) { CALL_HOST(initialize_variable, v); }
void read_host_variable(HostVariable* v) { CALL_HOST(read_variable, v); }

double host_variable_value(HostVariable* v) {
    read_host_variable(v);
    return v->value;
}

int32_t host_variable_int(HostVariable* v) {
    read_host_variable(v);
    int32_t n;
    std::memcpy(&n, &v->value, sizeof n);
    return n;
}
