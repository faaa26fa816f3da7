#include "help/HelpBook.h"
#include "help/HelpContext.h"
#include "help/HelpPage.h"
#include "help/HelpPictures.h"
#include "acquisition/OndavView.h"
#include "resource.h"
#include <gtest/gtest.h>
#include <functional>
#include <set>

namespace {
const char kSample[] =
    "# a comment\n"
    "@topic un\n"
    "@titre Premi\xC3\xA8re\n"   // UTF-8, whatever the compiler's character set
    "@sommaire Livre/Chapitre\n"
    "@cmd 100 101\n"
    "@index mot; autre mot\n"
    "= Un titre\n"
    "Une phrase avec un [[deux|lien]] et du **gras**\n"
    "qui continue ici.\n"
    "\n"
    "Un second paragraphe.\n"
    "- une puce\n"
    "| A | B |\n"
    "| 1 | 2 |\n"
    "`   fixe  \n"
    "! panneau\n"
    "@topic deux\n"
    "@titre Seconde\n";

std::string spansText(const HelpBlock& b)
{
    std::string s;
    for (const HelpSpan& span : b.spans) s += span.text;
    return s;
}

// Every command id of a menu, submenus included.
void menuCommands(HMENU menu, std::set<UINT>& ids)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) { menuCommands(sub, ids); continue; }
        UINT id = ::GetMenuItemID(menu, i);
        if (id != 0 && id != static_cast<UINT>(-1)) ids.insert(id);
    }
}

// The command ids of the toolbar resource (version, width, height, count, ids).
std::set<UINT> toolbarCommands()
{
    HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(241));
    const WORD* words = static_cast<const WORD*>(::LockResource(::LoadResource(nullptr, res)));
    std::set<UINT> ids;
    for (WORD i = 0; words && i < words[3]; ++i)
        if (words[4 + i]) ids.insert(words[4 + i]);
    return ids;
}
} // namespace

TEST(HelpMarkup, TopicsBlocksAndInlineMarks)
{
    std::vector<std::string> errors;
    HelpBook book = HelpBook::Parse(kSample, &errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    ASSERT_EQ(book.Topics().size(), 2u);
    const HelpTopic& t = book.Topics()[0];
    EXPECT_EQ(t.title, "Premi\xE8re") << "UTF-8 becomes the ANSI code page";
    EXPECT_EQ(t.book, "Livre/Chapitre");
    EXPECT_EQ(t.commands, (std::vector<UINT>{100, 101}));
    EXPECT_EQ(t.index, (std::vector<std::string>{"mot", "autre mot"}));
    ASSERT_EQ(t.blocks.size(), 7u);
    EXPECT_EQ(t.blocks[0].kind, HelpBlockKind::Heading);
    const HelpBlock& p = t.blocks[1];
    EXPECT_EQ(p.kind, HelpBlockKind::Paragraph);
    EXPECT_EQ(spansText(p), "Une phrase avec un lien et du gras qui continue ici.");
    bool link = false, bold = false;
    for (const HelpSpan& s : p.spans) {
        link = link || (s.link == "deux" && s.text == "lien");
        bold = bold || (s.bold && s.text == "gras");
    }
    EXPECT_TRUE(link && bold);
    EXPECT_EQ(spansText(t.blocks[2]), "Un second paragraphe.") << "a blank line ends a paragraph";
    EXPECT_EQ(t.blocks[3].kind, HelpBlockKind::Bullet);
    ASSERT_EQ(t.blocks[4].kind, HelpBlockKind::Table);
    EXPECT_EQ(t.blocks[4].rows, (std::vector<std::vector<std::string>>{{"A", "B"}, {"1", "2"}}));
    EXPECT_EQ(t.blocks[5].kind, HelpBlockKind::Code);
    EXPECT_EQ(spansText(t.blocks[5]), "   fixe  ") << "fixed-pitch lines keep their blanks";
    EXPECT_EQ(t.blocks[6].picture, "panneau");
    EXPECT_EQ(book.ForCommand(101), &book.Topics()[0]);
    EXPECT_EQ(book.ForCommand(102), nullptr);
    EXPECT_EQ(book.Find("deux"), &book.Topics()[1]);
}

TEST(HelpMarkup, FaultsAreReported)
{
    std::vector<std::string> errors;
    HelpBook::Parse("texte\n@topic a\n@titre A\n@cmd 5\nvoir [[nulle|part]]\n@topic a\n@titre B\n@cmd 5\n"
                    "@topic c\n", &errors);
    std::string all;
    for (const std::string& e : errors) all += e + "\n";
    EXPECT_NE(all.find("before the first topic"), std::string::npos) << all;
    EXPECT_NE(all.find("duplicate topic a"), std::string::npos) << all;
    EXPECT_NE(all.find("command 5 has two topics"), std::string::npos) << all;
    EXPECT_NE(all.find("unknown nulle"), std::string::npos) << all;
    EXPECT_NE(all.find("topic c has no title"), std::string::npos) << all;
}

TEST(ProgramHelp, ParsesWithoutFaultAndEveryTopicHasAPlace)
{
    HRSRC res = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_HELPTEXT), MAKEINTRESOURCEA(10));
    ASSERT_NE(res, nullptr);
    std::string text(static_cast<const char*>(::LockResource(::LoadResource(nullptr, res))), ::SizeofResource(nullptr, res));
    std::vector<std::string> errors;
    HelpBook book = HelpBook::Parse(text, &errors);
    for (const std::string& e : errors) ADD_FAILURE() << e;
    EXPECT_GT(book.Topics().size(), 60u);
    for (const HelpTopic& t : HelpBook::Program().Topics()) {
        EXPECT_FALSE(t.book.empty()) << t.key << " is missing from the contents";
        EXPECT_FALSE(t.blocks.empty()) << t.key << " is empty";
        for (const HelpBlock& b : t.blocks)
            if (b.kind == HelpBlockKind::Picture) {
                SIZE size = HelpPictureSize(b.picture, b.argument);
                EXPECT_GT(size.cx, 0) << t.key << ": no picture " << b.picture << " " << b.argument;
            }
    }
}

TEST(ProgramHelp, EveryCommandOfTheMenusAndToolbarHasItsTopic)
{
    std::set<UINT> ids = toolbarCommands();
    ASSERT_FALSE(ids.empty()) << "no toolbar resource read";
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(menu, nullptr);
    menuCommands(menu, ids);
    ::DestroyMenu(menu);
    const HelpBook& book = HelpBook::Program();
    std::set<const HelpTopic*> topics;
    for (UINT id : ids) {
        const HelpTopic* t = book.ForCommand(id);
        EXPECT_NE(t, nullptr) << "command " << id << " has no help topic";
        topics.insert(t);
    }
    EXPECT_EQ(topics.size(), ids.size()) << "one topic per command";
    // The recent files share the first one's topic; F1 itself has one.
    EXPECT_EQ(book.ForCommand(ID_FILE_MRU_FILE1 + 3), book.ForCommand(ID_FILE_MRU_FILE1));
    EXPECT_NE(book.ForCommand(ID_HELP), nullptr);
}

TEST(ProgramHelp, IndexIsSortedAndLeadsToTopics)
{
    const HelpBook& book = HelpBook::Program();
    std::vector<HelpIndexEntry> index = book.Index();
    ASSERT_GT(index.size(), book.Topics().size());
    for (size_t i = 1; i < index.size(); ++i)
        EXPECT_NE(::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, index[i - 1].word.c_str(), -1,
                                   index[i].word.c_str(), -1), CSTR_GREATER_THAN)
            << index[i - 1].word << " / " << index[i].word;
    for (const HelpIndexEntry& e : index) EXPECT_NE(book.Find(e.key), nullptr) << e.word;
}

TEST(HelpContext, PlacesOfTheScopePageLeadToTheirTopics)
{
    struct Case { int x, y; const char* key; };
    static const Case cases[] = {
        {270, 220, "ecran-scope"},        {575, 25, "panneau-affichage"},   {575, 105, "panneau-affichage"},
        {575, 125, "panneau-base-de-temps"}, {575, 265, "panneau-base-de-temps"},
        {575, 285, "panneau-rafraichissement"}, {575, 345, "synchronisation"}, {575, 405, "panneau-amplification"},
        {672, 377, "panneau-echelle"},    {717, 397, "panneau-voie"},       {522, 100, "colonne-echelle"},
        {540, 214, "colonne-echelle"},    {270, 435, "base-de-temps"},      {700, 200, "panneau"},
        {100, 465, "premiere-mesure"},    {5, 5, "affichage-scope"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(helpcontext::ForViewPoint(kModeScope, {c.x, c.y}), c.key) << c.x << "," << c.y;
    // The meters and bars have no panel: anywhere, their own topic.
    EXPECT_EQ(helpcontext::ForViewPoint(kModeVuMeters, {575, 25}), "vumetres");
    EXPECT_EQ(helpcontext::ForViewPoint(kModeBargraphs, {195, 200}), "bargraphes");
    EXPECT_EQ(helpcontext::ForDisplay(kModeScope), "affichage-scope");
    EXPECT_EQ(helpcontext::ForCommand(ID_BASE_05MS), "cmd-base-05ms");
    EXPECT_EQ(helpcontext::ForCommand(0), helpcontext::kMenus) << "a submenu's title";
    for (const char* key : {helpcontext::kContents, helpcontext::kMenus, helpcontext::kToolBar, helpcontext::kStatusBar})
        EXPECT_NE(HelpBook::Program().Find(key), nullptr) << key;
}

TEST(HelpLayout, WrapsToTheWidthAndFindsItsLinks)
{
    HDC dc = ::CreateCompatibleDC(nullptr);
    HelpFonts fonts;
    const HelpTopic* topic = HelpBook::Program().Find("bienvenue");
    ASSERT_NE(topic, nullptr);
    for (int width : {260, 520}) {
        HelpLayout layout;
        layout.Build(dc, *topic, width, fonts);
        ASSERT_FALSE(layout.Items().empty());
        EXPECT_EQ(layout.Items()[0].text.rfind("Bienvenue", 0), 0u) << "the title comes first";
        int links = 0, pictures = 0;
        for (const HelpLayout::Item& item : layout.Items()) {
            EXPECT_LE(item.rc.right, width) << item.text << " at width " << width;
            if (item.kind == HelpLayout::Kind::Picture) {
                ++pictures;
                EXPECT_LE(item.rc.right - item.rc.left, width) << "pictures shrink to the page";
                EXPECT_NEAR((item.rc.bottom - item.rc.top) * item.natural.cx / (item.rc.right - item.rc.left),
                            item.natural.cy, 2) << "and keep their shape";
            }
            if (item.link.empty()) continue;
            ++links;
            POINT centre{(item.rc.left + item.rc.right) / 2, (item.rc.top + item.rc.bottom) / 2};
            const HelpLayout::Item* hit = layout.LinkAt(centre);
            ASSERT_NE(hit, nullptr);
            EXPECT_EQ(hit->link, item.link);
        }
        EXPECT_GE(links, 6) << width;
        EXPECT_EQ(pictures, 1);
        EXPECT_EQ(layout.LinkAt({2, 2}), nullptr);
    }
    ::DeleteDC(dc);
}
