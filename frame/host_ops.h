// The host operations a module calls, reached through word 4 of ImportTable.
//
// Each module exports one ImportTable; the simulator writes the address of
// its function table into it before it calls any routine. Every operation
// below reads that word and calls the pointer at the operation's offset.
// Until the word is filled the operations do nothing.
#pragma once

#include "frame/records.h"

FRAME_EXPORT ImportTableRecord ImportTable;

void host_gauge_query(ElementHead* element);
void host_gauge_install(ElementHead* element, uint32_t value);
void host_gauge_initialize(ElementHead* element);
void host_gauge_update(ElementHead* element);
void host_gauge_generate(ElementHead* element, uint32_t phase);
void host_gauge_draw(ElementHead* element);
void host_gauge_kill(ElementHead* element);
void host_mouse_install(MouseRect* rects, GaugeHeader* gauge, int32_t* size);
void host_mouse_register(MouseRect* rects, GaugeHeader* gauge);
void host_mouse_unregister(MouseRect* rects, GaugeHeader* gauge);
void send_host_event(uint32_t event, uint32_t value);
void initialize_host_variable(HostVariable* variable);
void read_host_variable(HostVariable* variable);

// Refreshes the record and returns its value.
double host_variable_value(HostVariable* variable);

// Refreshes the record of a variable the simulator delivers as a whole
// number and returns it: the 32-bit integer in the first four bytes of the
// value field.
int32_t host_variable_int(HostVariable* variable);
