// Placeholder until the generated table lands: no data yet.
#include "calendar/solar_term_table.h"

int SolarTermTableDay(int, int) { return 0; }
