// ctest-label: gametools
#include "gametools/XMLParser.h"

#include "engine/core/Error.h"
#include "engine/core/StringUtils.h"
#include "engine/files/FileManager.h"
#include "engine/files/FileTextual.h"
#include "tests/support/TestLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

using namespace GameTools;

namespace {

// Parses into a given document node, or into an empty root pointer; returns the error text or "".
std::string ParseError(const std::wstring& text, bool emptyRoot) {
    XMLParser parser;
    XMLNode document;
    XMLNode* root = emptyRoot ? nullptr : &document;
    try {
        parser.ParseText(root, text);
    } catch (const OrvexEngine::FileError& error) {
        if (emptyRoot) {
            EXPECT_EQ(root, nullptr) << "a failed parse must leave no root";
        }
        return error.GetText();
    }
    if (emptyRoot)
        delete root;
    return "";
}

std::unique_ptr<XMLNode> ParseDocument(const std::wstring& text) {
    auto document = std::make_unique<XMLNode>();
    XMLNode* root = document.get();
    XMLParser().ParseText(root, text);
    return document;
}

std::wstring Nested(int levels) {
    std::wstring text;
    for (int i = 0; i < levels; ++i)
        text += L"<a>";
    return text;
}

} // namespace

TEST(XMLParser, FormatErrorsCarryLineAndCode) {
    struct Case {
        const wchar_t* text;
        bool emptyRoot;
        const char* error;
    };
    const std::wstring tooDeep = Nested(XMLParser::MaxDepth + 1);
    const std::wstring deepEnough = Nested(XMLParser::MaxDepth);
    const Case cases[] = {
        {L"</a>", true, "XML format error at line 1: code 0"},
        {L"<a>\n< >", false, "XML format error at line 2: code 1"},
        {L"<a>\n</ >", false, "XML format error at line 2: code 1"},
        {L"<a>\n</A>", false, "XML format error at line 2: code 2"},
        {L"<a></a>\n</a>", false, "XML format error at line 2: code 2"},
        {L"</a>", false, "XML format error at line 1: code 2"},
        {L"<a\n ='1'\n>", false, "XML format error at line 3: code 4"},
        {L"<a / x='1'>", false, "XML format error at line 1: code 5"},
        {L"<a x='1' / >", false, "XML format error at line 1: code 5"},
        {L"<a x/>", false, "XML format error at line 1: code 6"},
        {L"<r>\n<a x='1'\n x=\"2\"\n/>", false, "XML format error at line 4: code 7"},
        {L"<a x=1>", false, "XML format error at line 1: code 8"},
        {L"<a x>", false, "XML format error at line 1: code 10"},
        {L"<!DOCTYPE html>", false, "XML format error at line 1: code 10"},
        {L"<a x=>", false, "XML format error at line 1: code 11"},
        {L"<a x= '1>", false, "XML format error at line 1: code 14"},
        {L"<a/>\r\n<b/>", true, "XML format error at line 2: code 12"},
        {L"<a/>\nx", true, "XML format error at line 2: code 13"},
        {L"x<a/>", true, "XML format error at line 1: code 13"},
        {L"<a>\n<b", false, "XML format error at line 2: code 14"},
        {L"<a>\n</a\n", false, "XML format error at line 3: code 14"},
        {L"", true, "XML format error at line 1: code 15"},
        {L"<?xml version='1.0'?>\n<!-- only a comment -->\n", true, "XML format error at line 3: code 15"},
        {L"<a>\n<!-- don't\n -->\n</b>", false, "XML format error at line 4: code 2"},
        // Line feeds inside tags and values count, in plain tags and in the others alike.
        {L"<r>\n<a\n x='1\n2'\r\n y = \"3\"\n/>\n</b>", false, "XML format error at line 7: code 2"},
        {L"<r>\n<a+b x='1\n'\n>\n</a+b\n>\n</r\n \n>\n<a x='1' x='2'\n/>", false,
         "XML format error at line 11: code 7"},
        {L"<a>\n<!-- it's\n -- > not closed\n", false, "XML format error at line 4: code 14"},
        {L"<a><!-- -- >", false, "XML format error at line 1: code 14"},
        {tooDeep.c_str(), false, "XML format error at line 1: code 16"},
        {deepEnough.c_str(), false, ""},
        // Control characters other than zero belong to text (form feeds, tabs, escapes of terminal text).
        {L"<a>\n\x01\f\v\x1b</a>", false, ""},
        {L"<a x='\x1b[1m'\f/>", true, ""},
        {L"\x89PNG\r\n\x1a\n", true, "XML format error at line 1: code 13"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(ParseError(c.text, c.emptyRoot), c.error);
    }
    // A zero inside the text (a binary file read as text) is refused too.
    EXPECT_EQ(ParseError(std::wstring(L"<a>\0</a>", 8), false), "XML format error at line 1: code 17");
    EXPECT_EQ(ParseError(std::wstring(L"<a>\n<!-- \0 --></a>", 18), false),
              "XML format error at line 2: code 17");
}

TEST(XMLParser, WellFormedDocumentsParseInBothForms) {
    const wchar_t* const documents[] = {
        L"",
        L"<?xml version=\"1.0\"?>\n<!-- a comment -->\n",
        L"<a/>",
        L"<a>\n  <b x='1'/>\n</a>\n",
        L"<?xml version='1.0' encoding='utf-8'?>\r\n<a><?pi ?><b></b><!-- c --></a>",
        L"<a x='&amp;' y=\"&#65;\">&lt;</a>",
    };
    for (size_t i = 0; i < std::size(documents); ++i) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(documents[i])));
        EXPECT_EQ(ParseError(documents[i], false), "");
        if (i >= 2) { // the first two hold no element, which only the given-node form accepts
            EXPECT_EQ(ParseError(documents[i], true), "");
        }
    }
}

TEST(XMLParser, BuildsTheTreeWithAttributesAndValues) {
    auto doc = ParseDocument(L"<?xml version='1.0'?>\r\n"
                             L"<window name='main' size=\"800 600\">\r\n"
                             L"  <label text='a>b<c\"d' other=\"it's\" amp='&amp;'/>\r\n"
                             L"  <value> 5 </value>\r\n"
                             L"  <blank>  \r\n  </blank>\r\n"
                             L"  <lines>one\r\ntwo</lines>\r\n"
                             L"</window>\r\n");
    XMLNode* window = doc->GetChild("window", 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetParent(), doc.get());
    ASSERT_EQ(window->attributes.size(), 2u);
    EXPECT_EQ(window->attributes[0]->name, "name");
    EXPECT_EQ(window->attributes[1]->value.GetMode(), XMLValue::ModeWide);
    EXPECT_EQ(window->GetAttribute("size", 0)->GetInt2(), OrvexEngine::Vec2i(800, 600));

    XMLNode* label = window->GetChild("label", 0);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetAttribute("text", 0)->AsWideString(), L"a>b<c\"d");
    EXPECT_EQ(label->GetAttribute("other", 0)->AsWideString(), L"it's");
    EXPECT_EQ(label->GetAttribute("amp", 0)->AsWideString(), L"&amp;");
    EXPECT_TRUE(label->children.empty());

    XMLNode* value = window->GetChild("value", 0);
    EXPECT_EQ(value->value.AsWideString(), L" 5 ");
    EXPECT_EQ(value->value.AsInt(), 5);
    EXPECT_EQ(window->GetChild("blank", 0)->value.AsWideString(), L"");
    EXPECT_EQ(window->GetChild("lines", 0)->value.AsWideString(), L"one\r\ntwo");
    // White space around the children never replaces a value; the window had none.
    EXPECT_EQ(window->value.AsWideString(), L"");
    EXPECT_EQ(window->children.size(), 4u);
}

TEST(XMLParser, RulesOfTheSubset) {
    struct Case {
        const wchar_t* text;
        const char* expected; // the tree written as name(children) with values in quotes
    };
    // Writes a subtree compactly so that one line states its whole shape.
    std::function<std::string(XMLNode*)> shape = [&](XMLNode* node) {
        std::string out = node->name;
        if (!node->value.AsString().empty())
            out += "'" + node->value.AsString() + "'";
        if (!node->children.empty()) {
            out += "(";
            for (size_t i = 0; i < node->children.size(); ++i)
                out += (i ? " " : "") + shape(node->children[i]);
            out += ")";
        }
        return out;
    };
    const Case cases[] = {
        // A comment runs to the first "-->": quotes, tags and ">" inside it are plain text.
        {L"<r><!-- don't <b/> ' --> <c/></r>", "(r(c))"},
        {L"<r><!-- don't --><c/></r>", "(r(c))"},
        {L"<r><!-- \"a > b --><c/><!--'--><d/></r>", "(r(c d))"},
        {L"<r>\r\n<!-- one\r\n -- two > -\r\n--><c/></r>", "(r(c))"},
        {L"<!--x--><!----><a/>", "(a)"},
        {L"<a>one<!-- c -->two</a>", "(a'two')"},
        // Declarations end at their first ">", quoted or not.
        {L"<a><?pi x='>'?></a>", "(a''?>')"},
        // Entities stay as written.
        {L"<a>&lt;&#65;</a>", "(a'&lt;&#65;')"},
        {L"<r><a></a  ><b/></r>", "(r(a b))"},
        {L"<a/b><c/>", "(ab c)"},
        {L"<a>one<b/>two</a>", "(a'two'(b))"},
        {L"<a>one<b/> </a>", "(a'one'(b))"},
        {L"<a>one</a>", "(a'one')"},
        {L"<a><?pi x?>t</a>", "(a't')"},
        {L"<a><b>open at the end", "(a(b))"},
        {L"<a/><b/>", "(a b)"},
        {L"top text<a/>", "'top text'(a)"},
        {L"<![CDATA[x]]>", "(![CDATA[x]])"},
        {L"< a\tx = '1' ></a>", "(a)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
        auto doc = ParseDocument(c.text);
        EXPECT_EQ(shape(doc.get()), c.expected);
    }
}

TEST(XMLParser, FailedParseKeepsOrDropsThePartialTree) {
    // Given node: what was built before the error stays, the element with the fault included.
    XMLNode document;
    XMLNode* root = &document;
    EXPECT_THROW(XMLParser().ParseText(root, L"<r><a x='1' x='2'/></r>"), OrvexEngine::FileError);
    EXPECT_EQ(root, &document);
    ASSERT_NE(XMLNode::SelectNode(&document, "r/a"), nullptr);

    // Empty root: nothing is left over (LeakSanitizer checks the rest), also for a fault in the top tag.
    for (const wchar_t* text : {L"<r><a x='1' x='2'/></r>", L"<r x='1' x='2'>", L"<r>\n<b/></c>"}) {
        XMLNode* fresh = nullptr;
        EXPECT_THROW(XMLParser().ParseText(fresh, text), OrvexEngine::FileError);
        EXPECT_EQ(fresh, nullptr);
    }

    XMLNode* fresh = nullptr;
    XMLParser().ParseText(fresh, L"<?xml?>\n<top a='1'><child/></top>\n");
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->name, "top");
    EXPECT_EQ(fresh->GetParent(), nullptr);
    EXPECT_EQ(fresh->children.size(), 1u);
    delete fresh;
}

namespace {

// Files below a temporary folder, reached through a file manager as the game reaches its data.
class XMLParserFiles : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::path(VelmoraTest::TempDir()) / "xml";
        std::filesystem::create_directories(folder);
        files = std::make_unique<OrvexEngine::FileManager>(folder.string(), false, "data", 0);
        OrvexEngine::FileManager::Instance(files.get());
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }

    VelmoraTest::TestLog log;
    std::filesystem::path folder;
    std::unique_ptr<OrvexEngine::FileManager> files;
};

// The same document in UTF-16 code units, little- or big-endian.
std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : text) {
        const char low = char(unit & 0xFF);
        const char high = char(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

} // namespace

TEST_F(XMLParserFiles, ReadsEveryEncodingBySignature) {
    const std::string utf8 =
        "<?xml version='1.0'?>\n<texts>\n  <text key='title'>Höhe \xE2\x82\xAC</text>\n</texts>\n";
    const std::u16string utf16 =
        u"<?xml version='1.0'?>\n<texts>\n  <text key='title'>Höhe €</text>\n</texts>\n";
    const std::pair<const char*, std::string> encodings[] = {
        {"ansi.xml", utf8},
        {"utf8.xml", "\xEF\xBB\xBF" + utf8},
        {"utf16le.xml", "\xFF\xFE" + Utf16(utf16, false)},
        {"utf16be.xml", "\xFE\xFF" + Utf16(utf16, true)},
    };
    for (const auto& [name, bytes] : encodings) {
        SCOPED_TRACE(name);
        const std::string path = Write(name, bytes);
        XMLNode document;
        XMLParser().Load(&document, path);
        XMLValue* text = XMLNode::SelectAttribute(&document, "texts/text", "key");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->AsString(), "title");
        EXPECT_EQ(XMLNode::SelectNode(&document, "texts/text")->value.AsWideString(), L"H\u00F6he \u20AC");

        XMLNode* root = nullptr;
        XMLParser().ParseFile(root, path);
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->name, "texts");
        delete root;
    }
}

TEST_F(XMLParserFiles, FileAndFormatErrorsArePassedOn) {
    XMLNode* root = nullptr;
    try {
        XMLParser().ParseFile(root, (folder / "missing.xml").string());
        ADD_FAILURE() << "no error";
    } catch (const OrvexEngine::FileError& error) {
        EXPECT_NE(error.GetText().find("Failed to open"), std::string::npos) << error.GetText();
    }

    // A file cut inside a tag, and a binary file opened as XML.
    const std::string cut = Write("cut.xml", "<window>\r\n  <button name='ok'\r\n   size=");
    try {
        XMLParser().ParseFile(root, cut);
        ADD_FAILURE() << "no error";
    } catch (const OrvexEngine::FileError& error) {
        EXPECT_EQ(error.GetText(), "XML format error at line 3: code 14");
    }
    EXPECT_EQ(root, nullptr);

    const std::string binary = Write("image.xml", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR<", 17));
    XMLNode document;
    EXPECT_THROW(XMLParser().Load(&document, binary), OrvexEngine::FileError);

    // Parse leaves the file to its caller.
    auto file =
        std::unique_ptr<OrvexEngine::FileTextual>(files->OpenTextFile(Write("ok.xml", "<a/><b/>"), 0, 0));
    XMLParser().Parse(&document, file.get());
    EXPECT_EQ(document.children.size(), 2u);
}

TEST(XMLParser, ParsedTextReadsAsWideTextWould) {
    // Parsed values are kept as UTF-8 until a wide form is needed; every reading must match the wide text.
    auto doc = ParseDocument(L"<a list='1 \u2013 2\u00A03' n='\u0661' t='H\u00F6he'>\u20AC 5</a>");
    XMLNode* a = doc->GetChild("a", 0);
    ASSERT_NE(a, nullptr);
    for (XMLAttribute* attribute : a->attributes) {
        SCOPED_TRACE(attribute->name);
        XMLValue wide(attribute->value.AsWideString());
        float parsed[4] = {9, 9, 9, 9};
        float expected[4] = {9, 9, 9, 9};
        attribute->value.GetFloats(parsed, 4);
        wide.GetFloats(expected, 4);
        EXPECT_EQ(std::vector<float>(parsed, parsed + 4), std::vector<float>(expected, expected + 4));
        EXPECT_EQ(attribute->value.AsInt(), wide.AsInt());
    }
    EXPECT_EQ(a->GetAttribute("t", 0)->AsString(), "H\xC3\xB6he");
    EXPECT_EQ(a->GetAttribute("t", 0)->AsWideString(), L"H\u00F6he");
    EXPECT_EQ(a->value.AsWideString(), L"\u20AC 5");

    // A copy of a value keeps its text after the document is gone.
    XMLValue copy = a->value;
    doc.reset();
    EXPECT_EQ(copy.AsString(), "\xE2\x82\xAC 5");
}

TEST(XMLParser, ParsedNodesOutliveTheirDocumentWhenMoved) {
    // Nodes of a parse share memory that lives while any of them does (ASan reports a use after free).
    XMLNode keeper;
    XMLNode* moved = nullptr;
    {
        auto doc = ParseDocument(L"<r><a x='kept value longer than a short string'><b/></a><c/></r>");
        moved = XMLNode::SelectNode(doc.get(), "r/a");
        ASSERT_NE(moved, nullptr);
        keeper.AddChild(moved);
        delete XMLNode::SelectNode(doc.get(), "r/c");
    }
    EXPECT_EQ(moved->GetAttribute("x", 0)->AsString(), "kept value longer than a short string");
    EXPECT_EQ(moved->children.size(), 1u);
    keeper.RemoveChild(moved);
    EXPECT_TRUE(keeper.children.empty());

    // A given node is no part of the parse: its text stays when every parsed node is gone.
    XMLNode document;
    XMLNode* root = &document;
    XMLParser().ParseText(root, L"top text<a x='1'>value</a>");
    delete document.children.front();
    EXPECT_EQ(document.value.AsString(), "top text");
}

TEST_F(XMLParserFiles, LineEndsOfFilesBecomeCarriageReturnLineFeed) {
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring value;
        const char* error; // of the same file with an unclosed tag after it
    };
    const Case cases[] = {
        {"lf.xml", "<a>\n<b>x\ny</b>\n", L"x\r\ny", "XML format error at line 4: code 14"},
        {"cr.xml", "<a>\r<b>x\ry</b>\r", L"x\r\ny", "XML format error at line 4: code 14"},
        {"mixed.xml", "<a>\r\n<b>x\n\ry</b>\r\n", L"x\r\n\r\ny", "XML format error at line 5: code 14"},
        {"bom.xml", "\xEF\xBB\xBF<a>\n<b>x\ny</b>\n", L"x\r\ny", "XML format error at line 4: code 14"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XMLNode document;
        XMLParser().Load(&document, Write(c.name, c.bytes));
        XMLNode* b = XMLNode::SelectNode(&document, "a/b");
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->value.AsWideString(), c.value);

        XMLNode broken;
        try {
            XMLParser().Load(&broken, Write(std::string("cut-") + c.name, c.bytes + "<c"));
            ADD_FAILURE() << "no error";
        } catch (const OrvexEngine::FileError& error) {
            EXPECT_EQ(error.GetText(), c.error);
        }
    }
}

namespace {

// Names, values and attributes of two trees, as one text per node in document order.
void Describe(XMLNode* node, std::wstring& out) {
    out += OrvexEngine::ToWide(node->name) + L"=[" + node->value.AsWideString() + L"]";
    for (XMLAttribute* attribute : node->attributes)
        out += L" " + OrvexEngine::ToWide(attribute->name) + L"=[" + attribute->value.AsWideString() + L"]";
    out += L"\n";
    for (XMLNode* child : node->children)
        Describe(child, out);
}

} // namespace

TEST_F(XMLParserFiles, AFileWithBareLineFeedsReadsAsTheSameFileWithCrLf) {
    // Files with bare LF line ends are parsed as they stand; every value that holds a line end must still
    // get CR LF, wherever the parse found it.
    const std::string documents[] = {
        // text in one run, in runs around a comment and at the top element
        "<r>\n  <b>x\ny</b>\n  <c>x\n<!-- between -->\ny\n</c>\n</r>\n",
        // attribute values in plain tags and in tags read in full
        "<r>\n  <b t='1\n2' u=\"3\n\n4\">\n  </b>\n  <a+b t='5\n6'/>\n  <c\nt='7\n8'\n/>\n</r>\n",
        // one line, no line end at all; a value that starts with a line end
        "<r a='1'><b>\nx</b></r>",
        // characters that are not ASCII beside the line ends
        "<r t='Höhe\n№'>\né\n</r>\n",
    };
    for (const std::string& feeds : documents) {
        SCOPED_TRACE(feeds);
        std::string joined;
        for (const char c : feeds) {
            if (c == '\n')
                joined += '\r';
            joined += c;
        }
        std::wstring fromFeeds;
        std::wstring fromJoined;
        XMLNode a;
        XMLParser().Load(&a, Write("feeds.xml", feeds));
        Describe(&a, fromFeeds);
        XMLNode b;
        XMLParser().Load(&b, Write("joined.xml", joined));
        Describe(&b, fromJoined);
        EXPECT_EQ(fromFeeds, fromJoined);
        EXPECT_NE(fromFeeds.find(L"\r\n"), std::wstring::npos) << "some value holds a line end";
    }
}

TEST_F(XMLParserFiles, FilesThatAreNotPlainUtf8ReadAsBefore) {
    // A byte that starts no character is dropped; a zero in a UTF-8 file is refused.
    XMLNode document;
    XMLParser().Load(&document, Write("latin.xml", "<a t='H\xF6he'>\xE9t\xE9</a>"));
    XMLNode* a = XMLNode::SelectNode(&document, "a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetAttribute("t", 0)->AsString(), "Hhe");
    EXPECT_EQ(a->value.AsString(), "t");

    XMLNode binary;
    try {
        XMLParser().Load(&binary, Write("zero.xml", std::string("\xEF\xBB\xBF<a>\n\0</a>", 12)));
        ADD_FAILURE() << "no error";
    } catch (const OrvexEngine::FileError& error) {
        EXPECT_EQ(error.GetText(), "XML format error at line 2: code 17");
    }
}
