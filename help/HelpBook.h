// The help's topics, read from the program's resources. The text is UTF-8
// with a small line markup (see resources/aide/ondav-aide.txt):
//   @topic KEY          starts a topic        @titre TEXT     its title
//   @sommaire A/B       its book in the table of contents (topics keep file order)
//   @cmd ID ID...       the command ids whose topic it is
//   @index WORD; WORD   entries of the index (the title is one too)
//   = TEXT              heading               - TEXT          bullet
//   | A | B |           table row (the first row of a table is its header)
//   ` TEXT              fixed-pitch line      ! NAME [ARG]    picture
//   other lines         paragraph (a blank line ends it); inline [[KEY|text]]
//                       is a link and **text** is bold.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct HelpSpan {
    std::string text;   // cp1252
    std::string link;   // topic key, empty for plain text
    bool bold = false;
};

enum class HelpBlockKind { Heading, Paragraph, Bullet, Code, Table, Picture };

struct HelpBlock {
    HelpBlockKind kind = HelpBlockKind::Paragraph;
    std::vector<HelpSpan> spans;                  // heading, paragraph, bullet, code
    std::vector<std::vector<std::string>> rows;   // table
    std::string picture, argument;                // picture
};

struct HelpTopic {
    std::string key, title, book;
    std::vector<std::string> index;
    std::vector<UINT> commands;
    std::vector<HelpBlock> blocks;
};

struct HelpIndexEntry {
    std::string word;
    std::string key;
};

class HelpBook {
public:
    // Parses text (UTF-8); every fault found (unknown link, duplicate key or
    // command, topic without title) is appended to errors when given.
    static HelpBook Parse(const std::string& utf8, std::vector<std::string>* errors = nullptr);
    // The program's own help, loaded from its resources once.
    static const HelpBook& Program();

    const std::vector<HelpTopic>& Topics() const { return m_topics; }
    const HelpTopic* Find(const std::string& key) const;
    // The topic that explains command id (recent files share one), or nullptr.
    const HelpTopic* ForCommand(UINT id) const;
    // Every index word with its topic, sorted as the user's language sorts.
    std::vector<HelpIndexEntry> Index() const;

private:
    std::vector<HelpTopic> m_topics;
};

// UTF-8 to the program's ANSI code page (1252).
std::string HelpToAnsi(const std::string& utf8);
