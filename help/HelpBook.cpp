#include "help/HelpBook.h"
#include "framework/framework.h"
#include "resource.h"
#include <algorithm>
#include <set>
#include <sstream>

std::string HelpToAnsi(const std::string& utf8)
{
    if (utf8.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    int m = ::WideCharToMultiByte(1252, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(m), '\0');
    ::WideCharToMultiByte(1252, 0, wide.data(), n, out.data(), m, nullptr, nullptr);
    return out;
}

namespace {
std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool startsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

std::vector<std::string> split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(s);
    while (std::getline(in, part, sep)) parts.push_back(trim(part));
    return parts;
}

// Appends text with its inline marks: [[key|text]] links and **bold**.
void appendInline(std::vector<HelpSpan>& spans, const std::string& text)
{
    bool bold = false;
    std::string plain;
    auto flush = [&] {
        if (!plain.empty()) spans.push_back({plain, {}, bold});
        plain.clear();
    };
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "[[") == 0) {
            size_t end = text.find("]]", i);
            size_t bar = text.find('|', i);
            if (end != std::string::npos && bar != std::string::npos && bar < end) {
                flush();
                spans.push_back({text.substr(bar + 1, end - bar - 1), text.substr(i + 2, bar - i - 2), bold});
                i = end + 2;
                continue;
            }
        }
        if (text.compare(i, 2, "**") == 0) {
            flush();
            bold = !bold;
            i += 2;
            continue;
        }
        plain += text[i++];
    }
    flush();
}

// A paragraph's lines are joined by one blank; bold marks close on their line.
void continueParagraph(HelpBlock& block, const std::string& text)
{
    block.spans.push_back({" ", {}, false});
    appendInline(block.spans, text);
}
} // namespace

HelpBook HelpBook::Parse(const std::string& utf8, std::vector<std::string>* errors)
{
    HelpBook book;
    auto fault = [&](const std::string& what) { if (errors) errors->push_back(what); };
    std::istringstream in(HelpToAnsi(utf8));
    std::string raw;
    HelpTopic* topic = nullptr;
    bool inParagraph = false;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        std::string line = trim(raw);
        if (startsWith(line, "#")) continue;
        if (startsWith(line, "@topic")) {
            book.m_topics.push_back({});
            topic = &book.m_topics.back();
            topic->key = trim(line.substr(6));
            inParagraph = false;
            continue;
        }
        if (!topic) {
            if (!line.empty()) fault("line " + std::to_string(lineNo) + ": text before the first topic");
            continue;
        }
        if (line.empty()) { inParagraph = false; continue; }
        if (startsWith(line, "@titre")) { topic->title = trim(line.substr(6)); continue; }
        if (startsWith(line, "@sommaire")) { topic->book = trim(line.substr(9)); continue; }
        if (startsWith(line, "@index")) {
            for (const std::string& w : split(line.substr(6), ';'))
                if (!w.empty()) topic->index.push_back(w);
            continue;
        }
        if (startsWith(line, "@cmd")) {
            std::istringstream ids(line.substr(4));
            UINT id;
            while (ids >> id) topic->commands.push_back(id);
            continue;
        }
        HelpBlock block;
        if (startsWith(line, "= ")) {
            block.kind = HelpBlockKind::Heading;
            appendInline(block.spans, line.substr(2));
        } else if (startsWith(line, "- ")) {
            block.kind = HelpBlockKind::Bullet;
            appendInline(block.spans, line.substr(2));
        } else if (startsWith(line, "`")) {
            block.kind = HelpBlockKind::Code;
            std::string text = raw.substr(raw.find('`') + 1);
            if (!text.empty() && text.back() == '\r') text.pop_back();
            block.spans.push_back({text, {}, false});
        } else if (startsWith(line, "! ")) {
            block.kind = HelpBlockKind::Picture;
            std::istringstream words(line.substr(2));
            words >> block.picture;
            std::getline(words, block.argument);
            block.argument = trim(block.argument);
        } else if (startsWith(line, "|")) {
            std::vector<std::string> cells = split(line.substr(1), '|');
            if (!cells.empty() && cells.back().empty()) cells.pop_back();
            if (!topic->blocks.empty() && topic->blocks.back().kind == HelpBlockKind::Table && inParagraph) {
                topic->blocks.back().rows.push_back(cells);
                continue;
            }
            block.kind = HelpBlockKind::Table;
            block.rows.push_back(cells);
            topic->blocks.push_back(block);
            inParagraph = true;   // the next row continues the table
            continue;
        } else {
            if (inParagraph && !topic->blocks.empty() && topic->blocks.back().kind == HelpBlockKind::Paragraph) {
                continueParagraph(topic->blocks.back(), line);
                continue;
            }
            block.kind = HelpBlockKind::Paragraph;
            appendInline(block.spans, line);
            topic->blocks.push_back(block);
            inParagraph = true;
            continue;
        }
        topic->blocks.push_back(block);
        inParagraph = false;
    }

    std::set<std::string> keys;
    std::set<UINT> commands;
    for (const HelpTopic& t : book.m_topics) {
        if (!keys.insert(t.key).second) fault("duplicate topic " + t.key);
        if (t.title.empty()) fault("topic " + t.key + " has no title");
        for (UINT id : t.commands)
            if (!commands.insert(id).second) fault("command " + std::to_string(id) + " has two topics");
    }
    for (const HelpTopic& t : book.m_topics)
        for (const HelpBlock& b : t.blocks)
            for (const HelpSpan& s : b.spans)
                if (!s.link.empty() && !keys.count(s.link)) fault("topic " + t.key + " links to unknown " + s.link);
    return book;
}

const HelpBook& HelpBook::Program()
{
    static const HelpBook book = [] {
        HINSTANCE inst = AfxGetResourceHandle();
        HRSRC res = ::FindResourceA(inst, MAKEINTRESOURCEA(IDR_HELPTEXT), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
        HGLOBAL data = res ? ::LoadResource(inst, res) : nullptr;
        const char* text = data ? static_cast<const char*>(::LockResource(data)) : nullptr;
        if (!text) return HelpBook{};
        return Parse(std::string(text, ::SizeofResource(inst, res)));
    }();
    return book;
}

const HelpTopic* HelpBook::Find(const std::string& key) const
{
    for (const HelpTopic& t : m_topics)
        if (t.key == key) return &t;
    return nullptr;
}

const HelpTopic* HelpBook::ForCommand(UINT id) const
{
    if (id > ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) id = ID_FILE_MRU_FILE1;
    for (const HelpTopic& t : m_topics)
        if (std::find(t.commands.begin(), t.commands.end(), id) != t.commands.end()) return &t;
    return nullptr;
}

std::vector<HelpIndexEntry> HelpBook::Index() const
{
    std::vector<HelpIndexEntry> entries;
    for (const HelpTopic& t : m_topics) {
        entries.push_back({t.title, t.key});
        for (const std::string& w : t.index) entries.push_back({w, t.key});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const HelpIndexEntry& a, const HelpIndexEntry& b) {
        return ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.word.c_str(), -1, b.word.c_str(), -1)
               == CSTR_LESS_THAN;
    });
    return entries;
}
