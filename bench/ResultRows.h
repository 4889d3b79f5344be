#pragma once
#include "store/Database.h"

namespace photocheck::bench {

// Replaces the rows of pictureMsg with `count` generated rows as a batch run of as many photos
// leaves them (names " IMG_000001 " on, blanks inside as the run stores them, three passed of every
// four, the failed ones with a reason), in one transaction.
void fillResultsTable(Database& db, int count);

}  // namespace photocheck::bench
