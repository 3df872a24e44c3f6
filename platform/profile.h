#pragma once
// INI files read and written the way Windows' private-profile functions do:
// sections and keys without regard to case, blanks around keys and values
// ignored, ';' starting a comment line, quotes around a value dropped,
// defaults for what is missing and results cut to the caller's buffer.
//
// A file is read as UTF-8, or as code page 932 when it is not valid UTF-8;
// a write keeps every line it does not touch byte for byte and writes its
// own lines in that encoding and the file's line end. A new file is UTF-8
// with mode 0600; a replaced one keeps its mode. Writers take turns under a
// lock beside the file and replace it atomically, so concurrent programs
// lose no write.

#include <QString>
#include <QStringList>

#include <optional>

namespace hv6 {

// Copies the value (or the default, without trailing blanks) into out, cut
// to size - 1 characters (size counts the terminator, as a buffer would).
// Returns the number of characters copied.
int GetPrivateProfileString(const QString& section, const QString& key,
                            const QString& defaultValue, QString& out, int size,
                            const QString& fileName);

// The leading decimal number of the value; the default when the key is
// missing or empty, 0 when the value does not start with a number.
int GetPrivateProfileInt(const QString& section, const QString& key, int defaultValue,
                         const QString& fileName);

// Writes key=value, creating the file, the section and the key as needed.
// No value (std::nullopt) deletes the key, no key deletes the whole section.
// False when the file cannot be written, or for text that cannot be stored:
// line breaks, '=' or a leading ';' or '[' in a key, ']' in a section name,
// characters the file's encoding lacks. The file is then left unchanged.
bool WritePrivateProfileString(const QString& section, const std::optional<QString>& key,
                               const std::optional<QString>& value, const QString& fileName);

// The section names, and the keys of a section, in file order.
QStringList privateProfileSections(const QString& fileName);
QStringList privateProfileKeys(const QString& section, const QString& fileName);

}  // namespace hv6
