#include "acquisition/OndavView.h"

// The settings file is not kept yet: every run starts from the default colours.
void COndavView::LoadSettings()
{
    m_clrScopeBack = m_clrVuBack = m_clrBarBack = kDefaultBackColor;
    for (COLORREF& c : m_clrStored) c = kDefaultBackColor;
}

void COndavView::SaveSettings() {}
