#pragma once
// Closing the product's other running programs before a data tool runs:
// the user confirms the list, then each program is asked whether it may end
// and, when it agrees, asked to close. One refusal stops it all.

#include <QString>
#include <QStringList>

class CCheckV5App;
class QWidget;

namespace hv6 {

inline const QString kRelatedProgramsCaption = QStringLiteral("HarvoＶ６");

// The question listing the programs, four names a line.
QString closeConfirmationText(const QStringList& names);
// The message for a program (by its title text) that refused to end.
QString closeRefusedText(const QString& title);

// True when the tool may run: nothing related runs, or every related
// program agreed to end and was asked to close.
bool closeRelatedPrograms(CCheckV5App& check, QWidget* parent = nullptr);

}  // namespace hv6
