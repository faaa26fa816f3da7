#include "acquisition/OndavView.h"

// The page is not painted yet: the view shows its window background.
void COndavView::OnDraw(CDC*) {}
