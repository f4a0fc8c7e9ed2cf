#include "base/XmlDocument.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

std::unique_ptr<XmlDocument> parsed(const QByteArray& text) {
    auto document = XmlDocument::create();
    EXPECT_TRUE(document->loadBytes(text)) << text.constData();
    return document;
}

TEST(XmlDocument, WhiteSpaceBetweenElementsIsNotAChild) {
    const auto document = parsed("<root>\n  <a/>\n  <b x=\"1\"/>\n\t<a>second</a>\n</root>\n");
    const XmlElement root = document->documentElement();
    EXPECT_EQ(root.name(), "root");
    ASSERT_EQ(root.childCount(), 3);
    EXPECT_EQ(root.child(1).name(), "b");
    EXPECT_TRUE(root.child(3).isNull());
    EXPECT_TRUE(root.child(-1).isNull());
    EXPECT_EQ(root.childByName("a").text(), "");  // the first one
    EXPECT_TRUE(root.childByName("c").isNull());
}

TEST(XmlDocument, AttributesAndTexts) {
    const auto document = parsed("<r><e empty=\"\" v=\"a &amp; b &#176;\">x<i>y</i>z</e></r>");
    const XmlElement e = document->documentElement().child(0);
    EXPECT_EQ(e.attribute("empty"), QString(""));
    EXPECT_EQ(e.attribute("v"), QStringLiteral("a & b °"));
    EXPECT_FALSE(e.attribute("missing"));
    EXPECT_EQ(e.text(), "xyz");  // all text inside, descendants included
}

TEST(XmlDocument, NullHandlesFailSoftly) {
    const auto document = parsed("<r/>");
    const XmlElement none = document->documentElement().childByName("x").child(2);
    EXPECT_TRUE(none.isNull());
    EXPECT_EQ(none.childCount(), 0);
    EXPECT_FALSE(none.attribute("a"));
    EXPECT_EQ(none.text(), "");
}

TEST(XmlDocument, AFileThatDoesNotParseLeavesNothingToRead) {
    auto document = XmlDocument::create();
    EXPECT_FALSE(document->loadBytes("<r><a></r>"));
    EXPECT_TRUE(document->documentElement().isNull());
    EXPECT_FALSE(document->loadBytes(""));
    EXPECT_FALSE(document->load("/nonexistent/file.xml"));
    EXPECT_TRUE(document->documentElement().isNull());
}

TEST(XmlDocument, BuiltDocumentSavesWithDeclarationAndReadsBack) {
    QTemporaryDir dir;
    auto document = XmlDocument::create();
    XmlElement root = document->createElement("RECORDS");
    XmlElement record = document->createElement("RECORD");
    XmlElement date = document->createElement("DATE");
    date.setText(QStringLiteral("15/03/2011 14:30:45"));
    record.appendChild(date);
    record.setAttribute("unit", QStringLiteral("°C <&>"));
    root.appendChild(record);
    root.appendChild(record);
    document->setDocumentElement(root);

    EXPECT_TRUE(document->toBytes().startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"));
    const QString path = dir.filePath("data.xml");
    ASSERT_TRUE(document->save(path));

    auto reread = XmlDocument::create();
    ASSERT_TRUE(reread->load(path));
    const XmlElement records = reread->documentElement();
    ASSERT_EQ(records.childCount(), 2);
    EXPECT_EQ(records.child(1).attribute("unit"), QStringLiteral("°C <&>"));
    EXPECT_EQ(records.child(1).childByName("DATE").text(), "15/03/2011 14:30:45");
}

TEST(XmlDocument, SetTextReplacesContentAndRootCanBeReplaced) {
    auto document = XmlDocument::create();
    ASSERT_TRUE(document->loadBytes("<old><a>1</a><b/></old>"));
    XmlElement a = document->documentElement().child(0);
    a.setText("2");
    EXPECT_EQ(document->documentElement().child(0).text(), "2");
    document->documentElement().child(1).setText("t");
    EXPECT_EQ(document->documentElement().child(1).text(), "t");

    // The new root may be made from part of the old one.
    document->setDocumentElement(document->documentElement().child(0));
    EXPECT_EQ(document->documentElement().name(), "a");
    EXPECT_EQ(document->documentElement().text(), "2");
}

TEST(XmlDocument, ChildrenWalkInDocumentOrder) {
    const auto document = parsed("<r><a/>text<b/><c/></r>");
    QStringList names;
    for (XmlElement child = document->documentElement().firstChild(); child;
         child = child.nextSibling()) {
        names << child.name();
    }
    EXPECT_EQ(names, QStringList({"a", "", "b", "c"}));  // a text counts as a node too
}

// A damaged file may nest elements deeper than the stack holds frames.
TEST(XmlDocument, DeepNestingIsReadCopiedAndWrittenWithoutRecursion) {
    const int depth = 200000;
    QByteArray text = "<G><b>";
    text += QByteArray("<a>").repeated(depth) + "3" + QByteArray("</a>").repeated(depth);
    text += "tail</b><p>0</p></G>";
    auto document = parsed(text);
    const XmlElement b = document->documentElement().child(0);
    EXPECT_EQ(b.text(), "3tail");
    EXPECT_EQ(document->documentElement().child(1).text(), "0");
    document->setDocumentElement(b);
    EXPECT_EQ(document->documentElement().text(), "3tail");
    EXPECT_EQ(document->toBytes().count("<a>"), depth);
}

TEST(XmlDocument, SavingAnEmptyDocumentFails) {
    QTemporaryDir dir;
    auto document = XmlDocument::create();
    EXPECT_FALSE(document->save(dir.filePath("x.xml")));
}

}  // namespace
