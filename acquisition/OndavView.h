// The instrument's view: it owns every setting, the capture device and buffer,
// the working sample arrays, the drawing resources and the settings file.
#pragma once
#include "framework/framework.h"
#include "document/OndavDoc.h"
#include <mmsystem.h>

// Display modes (m_nDisplayMode).
enum : int { kModeScope = 1, kModeVuMeters = 2, kModeBargraphs = 3 };
// The measurement's window timer.
constexpr UINT_PTR kMeasureTimer = 250;
// Size of the capture buffer: 4000 stereo frames of two 8-bit samples.
constexpr DWORD kCaptureBufferBytes = 8000;
// The card's rate (frames per second) and the wait before each arming and
// each reading of the buffer, in ms.
constexpr int kSampleRate = 44100;
constexpr int kCaptureWaitMs = 400;
// Length of the settings file: the reserved block and the three colours.
constexpr int kSettingsReservedBytes = 36;
constexpr int kSettingsFileBytes = kSettingsReservedBytes + 3 * 4;
constexpr COLORREF kDefaultBackColor = 0xC0C0C0;

class COndavView : public CView {
    DECLARE_DYNCREATE(COndavView)
public:
    // Members in the order the instrument defines them.
    BOOL m_bGrid;
    BOOL m_bAudioFailed;
    COLORREF m_clrScopeBack;
    COLORREF m_clrVuBack;
    COLORREF m_clrBarBack;
    COLORREF m_clrStored[3];
    int m_nLoop;
    BOOL m_bFileOpened;
    // The record was read whole at start (or the file is new): it may be
    // written back whole at exit. Otherwise its contents are unknown.
    BOOL m_bSettingsRead;
    // The file held the whole 48-byte record at start.
    BOOL m_bSettingsWhole;
    BYTE m_settingsReserved[kSettingsReservedBytes];
    CFile m_fileSettings;
    CString m_strWindowsDir;
    CString m_strSettingsPath;
    int m_nBarMaskHeight;
    CRect m_rcBarLeft;
    CRect m_rcBarRight;
    CRect m_rcVuRight;
    CRect m_rcVuLeft;
    int m_nPeakRight, m_nPeakLeft;
    int m_nOutputTarget;
    int m_nCopyIndex;
    int m_nVerticalScale;
    int m_nScaleChannel;
    int m_nVerticalGain;
    CFont m_fontSmall, m_fontLarge;
    CPen m_penGreen, m_penBlue, m_penYellow, m_penRed, m_penDotBlack, m_penBlack2, m_penBlack1, m_penBlack4;
    BOOL m_bNeedResources;
    CRect* m_pSyncRect;
    CRect m_rcSync;
    BOOL m_bSyncFound;
    int m_nTriggerOffset;
    CPoint m_ptClick;
    CString m_strFontFace;
    CRect* m_pBoxRect;
    CRect m_rcBox;
    CRect* m_pPanelRect;
    CRect m_rcPanel;
    CRect* m_pScopeFrameRect;
    CRect m_rcScopeFrame;
    int m_nSamplesPerPixel;
    CRect* m_pScopeRect;
    CRect m_rcScope;
    DWORD m_nSampleRate;
    int m_nTracePenWidth;
    UINT m_nRefreshPeriod;
    UINT m_nCaptureWait;
    BOOL m_bDeviceOpen;
    int m_nDisplayMode;
    int m_nScopeSignal;
    int m_nCapturePhase;
    BOOL m_bRunning;
    int m_nScopeLayout;
    const char* m_pszExecCmd;
    UINT m_nExecShow;
    MMRESULT m_mmResult;
    WAVEHDR m_waveHdr;
    WAVEHDR* m_pWaveHdr;
    UINT m_nWaveHdrSize;
    WAVEFORMATEX m_waveFormat;
    HWAVEIN m_hWaveIn;
    HWAVEIN* m_phWaveIn;
    UINT m_nWaveDevice;
    WAVEFORMATEX* m_pWaveFormat;
    DWORD_PTR m_dwCallback;
    DWORD_PTR m_dwCallbackInstance;
    DWORD m_dwOpenFlags;
    int m_nPenX, m_nPenY;
    signed char m_chRaw;
    int m_nSample;
    int m_nByteIndex;
    DWORD m_nCaptureBufLen;
    BYTE* m_pCaptureBuf;
    BYTE m_captureBuf[kCaptureBufferBytes];
    int m_aRight[kFrameArrayLength];
    int m_aLeft[kFrameArrayLength];
    int m_aSum[kFrameArrayLength];
    int m_aDiff[kFrameArrayLength];
    int m_iRight, m_iLeft, m_iSum, m_iDiff;
    int m_nPixelsPerSample;
    int m_nTraceY1;
    int m_nTraceY2;
    int m_nSumY;
    int m_nDiffY;
    int m_nTimeBase;

    // The constructor only constructs the member objects: every start value
    // is set by PreCreateWindow, the whole initialisation of the instrument.
    COndavView() = default;
    ~COndavView() override = default;
    COndavDoc* GetDocument() const { return static_cast<COndavDoc*>(m_pDocument); }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnDraw(CDC* dc) override;
    // A document opened or made new: redrawn (an imported sound held still by
    // the trigger, as a capture is), and measured if the measures window is open.
    void OnUpdate(CView* sender) override;

private:
    // Painting (display/): one helper per part of the page, in painting order.
    void SetupPage(CDC* dc);
    void CreateDrawingResources();
    void CopyDocumentFrame();
    void DrawScopeDisplay(CDC* dc);
    void DrawPanelBox(CDC* dc, int left, int top);
    void DrawLayoutBoxes(CDC* dc);
    void DrawTimeBases(CDC* dc);
    void DrawSettingBoxes(CDC* dc);
    void DrawPanelTexts(CDC* dc);
    void DrawHelpLines(CDC* dc);
    void DrawScreen(CDC* dc);
    void DrawScaleColumn(CDC* dc);
    void DrawTimeLabels(CDC* dc, int timeBaseRow);
    void DrawTraces(CDC* dc);
    void DrawTimeTrace(CDC* dc, const int* samples, int zeroY, int& index);
    void DrawLissajous(CDC* dc);
    void ComputePeaks();
    void DrawVuMeters(CDC* dc);
    void DrawBargraphs(CDC* dc);
public:

    // Settings file (acquisition/SettingsFile.cpp).
    void LoadSettings();
    void SaveSettings();
    // Wave-in capture engine (acquisition/CaptureEngine.cpp).
    static WAVEFORMATEX CaptureFormat(DWORD sampleRate);   // 8-bit stereo PCM
    void SetupCapture();   // format, buffer, header and open arguments
    void OpenCapture();    // waveInOpen with the member arguments

    // Settings file and capture engine helpers; the measurement cycle
    // (acquisition/MeasurementCycle.cpp) with the "Mesure" menu's commands.
    static constexpr UINT kCmdMeasureStart = 32771;
    static constexpr UINT kCmdMeasureStop = 32772;
    UINT ReadStoredColors();
    void SaveChangedColors();
    bool ColorsChanged() const;
    void ReportSettingsLost();
    void ArmCapture();     // prepare, queue and start: the arm tick's wave-in calls
    void CheckSoundCall(); // reports a failed wave-in call held in m_mmResult
    int ConvertSample(BYTE raw);
    void CollectFrame();   // the buffer into the four sample arrays
    void ReleaseCaptureBuffer();
    void CloseCapture();
    void StartMeasurement();
    void StopMeasurement();
    void ArmTick();
    void CollectTick();
    void CopyFrameToDocument();
    void FindTrigger();
    void InvalidateFrameAreas();
    void RestartTimer(UINT period);
    void OnTimer(UINT_PTR id);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnDestroy();
    void OnMeasureStart();
    void OnMeasureStop();
    void OnUpdateMeasureStart(CCmdUI* cmdUI);
    void OnUpdateMeasureStop(CCmdUI* cmdUI);

    // Menu and toolbar commands (app/ViewCommands.cpp).
    void Redraw();
    void ApplyScopeLayout(int layout);
    void ApplyTimeBase(size_t row);
    BOOL ScaleChannelSelectable() const;
    void OnScopeLayout(UINT id);
    void OnUpdateScopeLayout(CCmdUI* cmdUI);
    void OnLevelDisplay(UINT id);
    void OnUpdateLevelDisplay(CCmdUI* cmdUI);
    void OnTimeBase(UINT id);
    void OnUpdateTimeBase(CCmdUI* cmdUI);
    void OnRefreshSpeed(UINT id);
    void OnUpdateRefreshSpeed(CCmdUI* cmdUI);
    void OnVerticalGain(UINT id);
    void OnUpdateVerticalGain(CCmdUI* cmdUI);
    void OnVerticalScale(UINT id);
    void OnUpdateVerticalScale(CCmdUI* cmdUI);
    void OnScaleChannel(UINT id);
    void OnUpdateScaleChannel(CCmdUI* cmdUI);
    void OnSoundCardSettings();
    void OnGrid();
    void OnUpdateGrid(CCmdUI* cmdUI);
    void OnBackColor();

    // Exchange with other programs (app/ExchangeCommands.cpp): export of the
    // frame and the page on the clipboard.
    void OnFileExport();
    void OnEditCopy();

    // Panel clicks and printing (display/PanelClicks.cpp).
    void OnLButtonDown(UINT flags, CPoint point);
    void ApplyZone(int effect, int value);
    void StopForPrinting();
    BOOL OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

    DECLARE_MESSAGE_MAP()
};
