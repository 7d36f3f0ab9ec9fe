// Placeholder for the field's wire form, which arrives with the login subsystem.
#include "game/field.h"

void send_field(const Client&, const Client&) {}
