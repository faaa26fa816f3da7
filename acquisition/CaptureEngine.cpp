#include "acquisition/OndavView.h"

// The sound card is not opened yet.
void COndavView::SetupCapture() {}
void COndavView::OpenCapture() {}
