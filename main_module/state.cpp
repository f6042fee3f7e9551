#include "main_module/state.h"

QuillmarState quillmar;

void reset_module_state() { quillmar = QuillmarState{}; }
