// The program's entry on Linux. The command line is ignored.
#include "app/entry_gtk.h"

int main() { return StartToolkit(), RunIndovina(Clocks{}); }
