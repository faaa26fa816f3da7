#include "help/HelpContext.h"
#include "help/HelpBook.h"
#include "acquisition/OndavView.h"
#include "display/PageTables.h"
#include "framework/ids.h"
#include "resource.h"

namespace helpcontext {
namespace {
// The topic of each kind of panel box; the scope screen starts a measurement.
struct ZoneTopic {
    page::ZoneEffect effect;
    const char* key;
};
constexpr ZoneTopic kZoneTopics[] = {
    {page::ZoneEffect::Start, "ecran-scope"},
    {page::ZoneEffect::Layout, "panneau-affichage"},
    {page::ZoneEffect::TimeBase, "panneau-base-de-temps"},
    {page::ZoneEffect::Refresh, "panneau-rafraichissement"},
    {page::ZoneEffect::Nothing, "synchronisation"},
    {page::ZoneEffect::Gain, "panneau-amplification"},
    {page::ZoneEffect::Scale, "panneau-echelle"},
    {page::ZoneEffect::Channel, "panneau-voie"},
};

// Places of the scope display that are no click zone, tested in order: the
// page's own areas, so that help points where the page draws.
struct Area {
    RECT rc;
    const char* key;
};
const Area kScopeAreas[] = {
    {page::kScaleArea, "colonne-echelle"},                    // the bands and labels beside the screen
    {page::kTimeLabelArea, "base-de-temps"},                  // the time-axis labels under it
    {page::kPanelFrame, "panneau"},                           // the rest of the panel
    {page::TextRoom(page::kHelpPanel), "panneau"},            // and its help line
    {page::TextRoom(page::kHelpStopped), "premiere-mesure"},  // the help line under the screen
    {page::TextRoom(page::kHelpRunning), "premiere-mesure"},
};

constexpr const char* kDisplayTopics[] = {"affichage-scope", "vumetres", "bargraphes"};

const char* zoneTopic(page::ZoneEffect effect)
{
    for (const ZoneTopic& z : kZoneTopics)
        if (z.effect == effect) return z.key;
    return "panneau";
}
} // namespace

std::string ForCommand(UINT id)
{
    const HelpTopic* topic = HelpBook::Program().ForCommand(id);
    return topic ? topic->key : kMenus;
}

std::string ForBox(UINT helpId)
{
    static const struct { UINT id; const char* key; } boxes[] = {
        {IDH_MSG_OUVERTURE_AUDIO, "msg-ouverture-audio"}, {IDH_MSG_INTERFACE_SON, "msg-interface-son"},
        {IDH_MSG_REFUS_MESURE, "msg-refus-mesure"},       {IDH_MSG_INI_DISPARU, "msg-ini-disparu"},
        {FW_IDS_SAVE_CHANGES, "msg-enregistrer-modifs"},   {FW_IDS_PRINT_FAILED, "msg-impression"},
    };
    for (const auto& b : boxes)
        if (b.id == helpId) return b.key;
    const HelpTopic* topic = HelpBook::Program().ForCommand(helpId);
    return topic ? topic->key : "messages";
}

std::string ForDisplay(int displayMode)
{
    return displayMode >= kModeScope && displayMode <= kModeBargraphs ? kDisplayTopics[displayMode - 1]
                                                                     : kDisplayTopics[0];
}

std::string ForViewPoint(int displayMode, POINT p)
{
    if (displayMode != kModeScope) return ForDisplay(displayMode);
    // The scale column overlaps the screen's click zone by a few units: it wins.
    if (::PtInRect(&kScopeAreas[0].rc, p)) return kScopeAreas[0].key;
    for (const page::ClickZone& z : page::kClickZones)
        if (page::Inside(z, p)) return zoneTopic(z.effect);
    for (const Area& a : kScopeAreas)
        if (::PtInRect(&a.rc, p)) return a.key;
    return ForDisplay(displayMode);
}

} // namespace helpcontext
