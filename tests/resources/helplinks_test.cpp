// The help pages: every link between them leads to a page that exists, and
// every page is reachable from the index.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QString kHelp = QStringLiteral(HV6_HELP_DIR);

QString readPage(const QString& name) {
  QFile file(QDir(kHelp).filePath(name));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

// The pages a page links to (anchors and outside addresses left out).
QStringList linksOf(const QString& page) {
  static const QRegularExpression href(QStringLiteral(R"re(href="([^"#:]+)(#[^"]*)?")re"));
  QStringList pages;
  for (auto it = href.globalMatch(readPage(page)); it.hasNext();) {
    const QString target = it.next().captured(1);
    if (target.endsWith(QStringLiteral(".html"))) pages.append(target);
  }
  return pages;
}

TEST(HelpPages, EveryLinkLeadsToAPageAndEveryPageIsReachableFromTheIndex) {
  const QStringList pages = QDir(kHelp).entryList({QStringLiteral("*.html")}, QDir::Files);
  ASSERT_TRUE(pages.contains(QStringLiteral("99999.html")));
  for (const QString& page : pages)
    for (const QString& target : linksOf(page))
      EXPECT_TRUE(pages.contains(target)) << page.toStdString() << " -> " << target.toStdString();

  QSet<QString> reached{QStringLiteral("99999.html")};
  QStringList todo{QStringLiteral("99999.html")};
  while (!todo.isEmpty()) {
    for (const QString& target : linksOf(todo.takeFirst()))
      if (!reached.contains(target) && pages.contains(target)) {
        reached.insert(target);
        todo.append(target);
      }
  }
  for (const QString& page : pages)
    EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is not reachable from the index";
}

}  // namespace
