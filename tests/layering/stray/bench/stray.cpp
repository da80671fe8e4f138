// A benchmark reaching into a test's fixture; the add-in itself is allowed.
#include "addin/connect.h"
#include "tests/agenda/agenda_fixture.h"
