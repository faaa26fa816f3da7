// The menu the program always had keeps its ids, texts and order;
// « Mesures et spectre » comes last in « Affichage », after a separator.
#include "resource.h"
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Item { std::string path; UINT id; };

// Every item of the tree in order: "Popup/Sub/Text" with its id (0 for
// separators and popups).
void walk(HMENU menu, const std::string& prefix, std::vector<Item>& out)
{
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        HMENU sub = ::GetSubMenu(menu, i);
        UINT id = sub ? 0 : ::GetMenuItemID(menu, i);
        out.push_back({prefix + (text[0] ? text : "-"), id});
        if (sub) walk(sub, prefix + text + "/", out);
    }
}

} // namespace

TEST(Menus, DescribedItemsKeepIdsTextsAndOrderAndMeasuresEndsAffichage)
{
    HMENU bar = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(bar, nullptr);
    std::vector<Item> items;
    walk(bar, "", items);
    static const Item described[] = {
        {"&Fichier", 0}, {"&Fichier/&Nouveau\tCtrl+N", 57600}, {"&Fichier/&Ouvrir...\tCtrl+O", 57601},
        {"&Fichier/&Enregistrer\tCtrl+S", 57603}, {"&Fichier/En&registrer sous...", 57604}, {"&Fichier/-", 0},
        {"&Fichier/&Imprimer...\tCtrl+P", 57607}, {"&Fichier/Aperçu a&vant impression", 57609},
        {"&Fichier/C&onfiguration de l'impression...", 57606}, {"&Fichier/-", 0},
        {"&Fichier/Fichier récent", 57616}, {"&Fichier/-", 0}, {"&Fichier/&Quitter", 57665},
        {"&Affichage", 0}, {"&Affichage/&Barre d'outils", 59392}, {"&Affichage/Barre d'é&tat", 59393},
        {"&Affichage/&Grille", 32823},
        {"&?", 0}, {"&?/&Rubriques de l'aide", 57667}, {"&?/-", 0}, {"&?/&A propos de ondav...", 57664},
        {"&Mesure", 0}, {"&Mesure/M&arche", 32771}, {"&Mesure/A&rrêt", 32772},
        {"Mo&de", 0}, {"Mo&de/&Tracevue", 0}, {"Mo&de/&Tracevue/2 &voies décalées", 32773},
        {"Mo&de/&Tracevue/2 v&oies superposées", 32774}, {"Mo&de/&Tracevue/&Somme", 32775},
        {"Mo&de/&Tracevue/&Différence", 32776}, {"Mo&de/&Tracevue/&Lissajous", 32777},
        {"Mo&de/&V.U. Mètres", 32778}, {"Mo&de/&Bargraphes", 32779},
        {"&Réglages", 0}, {"&Réglages/&Base de Temps", 0}, {"&Réglages/&Base de Temps/50 ms.", 32781},
        {"&Réglages/&Base de Temps/20 ms.", 32782}, {"&Réglages/&Base de Temps/10 ms.", 32783},
        {"&Réglages/&Base de Temps/5 ms.", 32784}, {"&Réglages/&Base de Temps/2 ms.", 32785},
        {"&Réglages/&Base de Temps/1 ms.", 32786}, {"&Réglages/&Base de Temps/0.5 ms.", 32787},
        {"&Réglages/&Base de Temps/0.2 ms.", 32788}, {"&Réglages/&Rafraîchissement", 0},
        {"&Réglages/&Rafraîchissement/Rapide", 32791}, {"&Réglages/&Rafraîchissement/Moyen", 32790},
        {"&Réglages/&Rafraîchissement/Lent", 32789}, {"&Réglages/&Amplification Vert.", 0},
        {"&Réglages/&Amplification Vert./X 1", 32792}, {"&Réglages/&Amplification Vert./X 2", 32793},
        {"&Réglages/&Amplification Vert./X 5", 32794}, {"&Réglages/&Echelle Verticale", 0},
        {"&Réglages/&Echelle Verticale/DB.", 32795}, {"&Réglages/&Echelle Verticale/Linéaire", 32796},
        {"&Réglages/&Echelle Verticale/2 voies décalées", 0},
        {"&Réglages/&Echelle Verticale/2 voies décalées/Droite", 32797},
        {"&Réglages/&Echelle Verticale/2 voies décalées/Gauche", 32798},
        {"&Réglages/Réglage Carte &Son", 32780}, {"&Options", 0}, {"&Options/&Couleur du fond", 32822},
    };
    // In that order, other new commands allowed between them.
    size_t at = 0;
    for (const Item& d : described) {
        while (at < items.size() && (items[at].path != d.path || items[at].id != d.id)) ++at;
        ASSERT_LT(at, items.size()) << "missing or out of order: " << d.path << " (" << d.id << ")";
        ++at;
    }
    std::vector<Item> affichage;
    for (const Item& i : items)
        if (i.path.rfind("&Affichage/", 0) == 0) affichage.push_back(i);
    ASSERT_GE(affichage.size(), 2u);
    EXPECT_EQ(affichage.back().path, "&Affichage/&Mesures et spectre\tCtrl+M");
    EXPECT_EQ(affichage.back().id, 32825u);
    EXPECT_EQ(affichage[affichage.size() - 2].path, "&Affichage/-");
    ::DestroyMenu(bar);
}
