#include "document/OndavDoc.h"

IMPLEMENT_DYNCREATE(COndavDoc)

BEGIN_MESSAGE_MAP(COndavDoc, CDocument)
END_MESSAGE_MAP()

BOOL COndavDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) return FALSE;
    for (int* a : { m_right, m_left, m_sum, m_difference })
        for (int i = 0; i < kFrameUsed; ++i) a[i] = 0;
    return TRUE;
}

void COndavDoc::Serialize(CArchive& ar)
{
    // File order: right, left, sum, difference (not the declaration order).
    for (int* a : { m_right, m_left, m_sum, m_difference }) {
        for (int i = 0; i < kFrameUsed; ++i) {
            if (ar.IsStoring()) ar << a[i];
            else ar >> a[i];
        }
    }
}
