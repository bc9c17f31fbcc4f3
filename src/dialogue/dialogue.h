// The questions asked of the operator, and the summary of the answers.
#pragma once

#include "config/options.h"

// The whole dialogue in its fixed order; every question offers the field's
// current value as its default.
void ask(options *o);

// The static route: asked for when the allowed computer or network is not
// (wholly) on the inside network; all three route fields cleared otherwise.
void ask_route(options *o);

// The update mode: 1 unless the operator wants to reset more.
void ask_mode(options *o);

// Prints the summary of the record.
void show(const options *o);
