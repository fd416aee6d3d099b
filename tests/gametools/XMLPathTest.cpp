// ctest-label: gametools
#include "gametools/XMLNode.h"
#include "gametools/XMLParser.h"

#include <gtest/gtest.h>

#include <memory>

using namespace GameTools;

namespace {

class XMLPath : public ::testing::Test {
protected:
    void SetUp() override {
        XMLParser().ParseText(root, L"<root>\n"
                                    L"  <faders>\n"
                                    L"    <fader name='a' id='fa1'/>\n"
                                    L"    <fader name='b' id='fb'/>\n"
                                    L"    <fader name='a' id='fa2'/>\n"
                                    L"  </faders>\n"
                                    L"  <a x='1' id='a1'><b id='b1'/><c id='c1'/></a>\n"
                                    L"  <a x='01' id='a2'><c id='c2'/></a>\n"
                                    L"  <a x='1' y='2' id='a3'><c id='c3'/></a>\n"
                                    L"  <item name='x' id='i1'/>\n"
                                    L"  <other name='x' id='i2'/>\n"
                                    L"  <e empty='' id='e1'/>\n"
                                    L"  <e id='e2'/>\n"
                                    L"  <description_file_path path='fonts/a.fnt' id='d'/>\n"
                                    L"</root>\n");
        ASSERT_NE(root, nullptr);
    }
    void TearDown() override { delete root; }

    // The ids of what the path selects from the root, joined by blanks ("root" for the root itself).
    std::string Select(const std::string& path) {
        std::vector<XMLNode*> found;
        XMLNode::SelectNodes(root, path, found);
        std::string ids;
        for (XMLNode* node : found) {
            XMLValue* id = node->GetAttribute("id", 0);
            ids += (ids.empty() ? "" : " ") + (id != nullptr ? id->AsString() : node->name);
        }
        return ids;
    }

    XMLNode* root = nullptr; // owned
};

} // namespace

TEST_F(XMLPath, SelectsByStepsAndPredicates) {
    struct Case {
        const char* path;
        const char* ids;
    };
    const Case cases[] = {
        {"", "root"},
        {"/", "root"},
        {"//", "root"},
        {"faders/fader[name='a']", "fa1 fa2"},
        {"faders/fader[name='a']/", "fa1 fa2"},
        {"/faders/fader[name='b']", "fb"},
        {"faders/fader", "fa1 fb fa2"},
        {"a/c", "c1 c2 c3"},
        {"a//c", "c1 c2 c3"},
        {"a[x='1']/c", "c1 c3"},
        {"a[x='1']b/c", "c1 c3"},
        {"a[x='1',,y='2';]/c", "c3"},
        {"a[x=\"1\";y=\"2\"]/c", "c3"},
        {"a[x='1' y='2']", "a3"},
        {"a[x='1'", "a1 a3"},
        {"a[x='01']", "a2"},
        {"a[]", "a1 a2 a3"},
        {"[name='x']", "i1 i2"},
        {"/[name=\"x\"]", "i1 i2"},
        {"e[empty='']", "e1"},
        {"a[missing='1']", ""},
        {"a[x y='2']", ""},
        {"a[x='1/2']", ""},
        {"a]b", ""},
        {"a[x='1' /b", ""},
        {"a[x=1]", ""},
        {"a[=1]", ""},
        {"a[x='1',y]", ""},
        {"nothing", ""},
        {"A", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(Select(c.path), c.ids);
    }
}

TEST_F(XMLPath, FirstResultsAttributesAndAppending) {
    XMLNode* first = XMLNode::SelectNode(root, "a/c");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetAttribute("id", 0)->AsString(), "c1");
    EXPECT_EQ(XMLNode::SelectNode(root, "a[x='2']"), nullptr);
    EXPECT_EQ(XMLNode::SelectNode(nullptr, ""), nullptr);

    XMLValue* path = XMLNode::SelectAttribute(root, "/description_file_path", "path");
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->AsString(), "fonts/a.fnt");
    EXPECT_EQ(XMLNode::SelectAttribute(root, "faders/fader", "missing"), nullptr);

    // Outputs are appended to, never cleared; nodes without the attribute are skipped.
    std::vector<XMLValue*> values{path};
    XMLNode::SelectAttributes(root, "e", "empty", values);
    XMLNode::SelectAttributes(root, "a", "x", values);
    ASSERT_EQ(values.size(), 5u);
    EXPECT_EQ(values[1]->AsString(), "");
    EXPECT_EQ(values[2]->AsString(), "1");
    EXPECT_EQ(values[3]->AsString(), "01");

    std::vector<XMLNode*> nodes{root};
    XMLNode::SelectNodes(root, "e", nodes);
    EXPECT_EQ(nodes.size(), 3u);
}

TEST(ParsePathPredicates, ReadsPairsOrRefuses) {
    struct Case {
        const char* text;
        bool ok;
        std::vector<std::string> names;
        std::vector<std::string> values;
    };
    const Case cases[] = {
        {"", true, {}, {}},
        {"x='1',,y=\"2\";", true, {"x", "y"}, {"1", "2"}},
        {";, x = ' a b ' y='it\"s'", true, {"x", "y"}, {" a b ", "it\"s"}},
        {"long name='v'", true, {"longname"}, {"v"}},
        {"x='1',y", false, {"x"}, {"1"}},
        {"x,", false, {}, {}},
        {"x=1", false, {}, {}},
        {"x='1", false, {}, {}},
        {"x=", false, {}, {}},
        {"='1'", false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> names;
        std::vector<std::string> values;
        EXPECT_EQ(ParsePathPredicates(c.text, names, values), c.ok);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(values, c.values);
    }
}
