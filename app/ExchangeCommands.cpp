// The view's side of the exchange with other programs: « Exporter... », the
// page on the clipboard (Ctrl+C), and the trigger of an imported sound.
#include "acquisition/OndavView.h"

namespace {
// The logical page, drawn 1:1 as on the screen.
constexpr int kCopyWidth = 800;
constexpr int kCopyHeight = 600;

// A 24-bit bottom-up DIB of the page: what CF_DIB holds after its header.
BITMAPINFOHEADER PageHeader()
{
    BITMAPINFOHEADER h{};
    h.biSize = sizeof(h);
    h.biWidth = kCopyWidth;
    h.biHeight = kCopyHeight;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(((kCopyWidth * 3 + 3) & ~3) * kCopyHeight);
    return h;
}
} // namespace

void COndavView::OnFileExport()
{
    if (COndavDoc* doc = GetDocument()) doc->Export();
}

void COndavView::OnEditCopy()
{
    // The page as the screen shows it: a bitmap for any program, a metafile
    // for those that scale pictures (word processors).
    BITMAPINFOHEADER header = PageHeader();
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGLOBAL dib = bitmap ? ::GlobalAlloc(GMEM_MOVEABLE, sizeof(header) + header.biSizeImage) : nullptr;
    if (dib) {
        CDC memory;
        memory.CreateCompatibleDC(nullptr);
        HGDIOBJ old = memory.SelectObject(bitmap);
        ::PatBlt(memory.m_hDC, 0, 0, kCopyWidth, kCopyHeight, WHITENESS);
        OnDraw(&memory);
        ::GdiFlush();
        memory.SelectObject(old);
        auto* out = static_cast<unsigned char*>(::GlobalLock(dib));
        memcpy(out, &header, sizeof(header));
        memcpy(out + sizeof(header), bits, header.biSizeImage);
        ::GlobalUnlock(dib);
    }
    if (bitmap) ::DeleteObject(bitmap);

    HDC screen = ::GetDC(m_hWnd);
    // The metafile's frame in hundredths of a millimetre, for the page's pixels.
    RECT frame{ 0, 0, kCopyWidth * ::GetDeviceCaps(screen, HORZSIZE) * 100 / ::GetDeviceCaps(screen, HORZRES),
                kCopyHeight * ::GetDeviceCaps(screen, VERTSIZE) * 100 / ::GetDeviceCaps(screen, VERTRES) };
    HDC record = ::CreateEnhMetaFileA(screen, nullptr, &frame, "Ondavis\0Ondagramme\0");
    ::ReleaseDC(m_hWnd, screen);
    HENHMETAFILE metafile = nullptr;
    if (record) {
        CDC recorder(record);
        OnDraw(&recorder);
        metafile = ::CloseEnhMetaFile(recorder.Detach());
    }

    if (::OpenClipboard(m_hWnd)) {
        ::EmptyClipboard();
        if (dib && ::SetClipboardData(CF_DIB, dib)) dib = nullptr;
        if (metafile && ::SetClipboardData(CF_ENHMETAFILE, metafile)) metafile = nullptr;
        ::CloseClipboard();
    }
    // What the clipboard did not take is ours to free.
    if (dib) ::GlobalFree(dib);
    if (metafile) ::DeleteEnhMetaFile(metafile);
}
