#include "acquisition/OndavView.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(COndavView)

BEGIN_MESSAGE_MAP(COndavView, CView)
    ON_WM_DESTROY()
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_COMMAND(kCmdMeasureStart, OnMeasureStart)
    ON_UPDATE_COMMAND_UI(kCmdMeasureStart, OnUpdateMeasureStart)
    ON_COMMAND(kCmdMeasureStop, OnMeasureStop)
    ON_UPDATE_COMMAND_UI(kCmdMeasureStop, OnUpdateMeasureStop)
    ON_COMMAND_RANGE(ID_MODE_DECALEES, ID_MODE_LISSAJOUS, OnScopeLayout)
    ON_UPDATE_COMMAND_UI_RANGE(ID_MODE_DECALEES, ID_MODE_LISSAJOUS, OnUpdateScopeLayout)
    ON_COMMAND_RANGE(ID_MODE_VUMETRES, ID_MODE_BARGRAPHES, OnLevelDisplay)
    ON_UPDATE_COMMAND_UI_RANGE(ID_MODE_VUMETRES, ID_MODE_BARGRAPHES, OnUpdateLevelDisplay)
    ON_COMMAND(ID_REGLAGE_CARTESON, OnSoundCardSettings)
    ON_COMMAND_RANGE(ID_BASE_50MS, ID_BASE_02MS, OnTimeBase)
    ON_UPDATE_COMMAND_UI_RANGE(ID_BASE_50MS, ID_BASE_02MS, OnUpdateTimeBase)
    ON_COMMAND_RANGE(ID_RAFR_LENT, ID_RAFR_RAPIDE, OnRefreshSpeed)
    ON_UPDATE_COMMAND_UI_RANGE(ID_RAFR_LENT, ID_RAFR_RAPIDE, OnUpdateRefreshSpeed)
    ON_COMMAND_RANGE(ID_GAIN_X1, ID_GAIN_X5, OnVerticalGain)
    ON_UPDATE_COMMAND_UI_RANGE(ID_GAIN_X1, ID_GAIN_X5, OnUpdateVerticalGain)
    ON_COMMAND_RANGE(ID_ECHELLE_DB, ID_ECHELLE_LIN, OnVerticalScale)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ECHELLE_DB, ID_ECHELLE_LIN, OnUpdateVerticalScale)
    ON_COMMAND_RANGE(ID_ECHELLE_DROITE, ID_ECHELLE_GAUCHE, OnScaleChannel)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ECHELLE_DROITE, ID_ECHELLE_GAUCHE, OnUpdateScaleChannel)
    ON_COMMAND(ID_AFFICHAGE_GRILLE, OnGrid)
    ON_UPDATE_COMMAND_UI(ID_AFFICHAGE_GRILLE, OnUpdateGrid)
    ON_COMMAND(ID_OPTIONS_COULEUR, OnBackColor)
    ON_COMMAND(ID_FILE_EXPORT, OnFileExport)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
END_MESSAGE_MAP()

BOOL COndavView::PreCreateWindow(CREATESTRUCT& cs)
{
    m_bAudioFailed = FALSE;
    m_bGrid = TRUE;

    LoadSettings();

    m_nOutputTarget = 1;
    m_bNeedResources = TRUE;

    m_nSampleRate = kSampleRate;
    SetupCapture();

    m_bRunning = FALSE;
    m_nScopeLayout = 1;
    m_nTracePenWidth = 2;
    m_nCaptureWait = kCaptureWaitMs;
    m_nRefreshPeriod = 500;
    m_bDeviceOpen = FALSE;
    m_nDisplayMode = kModeScope;
    m_nScopeSignal = 1;
    m_nTraceY1 = 120;
    m_nTraceY2 = 320;
    m_nSumY = 220;
    m_nDiffY = 220;
    m_nTimeBase = 1000;
    m_nPixelsPerSample = 10;
    m_nSamplesPerPixel = 1;
    m_rcScope.SetRect(20, 20, 520, 420);
    m_pScopeRect = &m_rcScope;
    m_nTriggerOffset = 0;
    m_bSyncFound = FALSE;
    m_nVerticalGain = 1;
    m_nScaleChannel = 1;
    m_nVerticalScale = 1;

    // The sample arrays need no start values: the first paint fills them
    // from the document before anything reads them.

    OpenCapture();
    m_bDeviceOpen = TRUE;   // the close at exit is attempted whatever the open did

    return CView::PreCreateWindow(cs);
}
