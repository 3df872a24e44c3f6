#pragma once
// The enquiry form of helpdesk: one A4 page for the maker's customer
// service with the farm's name, the program's and the data's versions, the
// data folder and the system, and ruled lines for the question.

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace hv6 {

struct EnquiryFacts {
  QString farmName;        // Information Company (President when empty)
  QString programVersion;  // HRV6\Version of the settings
  QString dataVersion;     // Information Dataversion
  QString dataFolder;
  QString system;          // the operating system and its kernel
  QString date;            // the day the form was made, yyyy/mm/dd
};

// The facts as the settings and the data folder give them; a fact that
// cannot be read stays empty (the form shows "不明").
EnquiryFacts gatherEnquiryFacts(const QString& diaryPath, const QString& programVersion);

// The form's lines as they are printed (for the preview).
QString enquiryFormText(const EnquiryFacts& facts);

// Paints the form on a printer or PDF writer; false when painting failed.
bool paintEnquiryForm(QPagedPaintDevice& device, const EnquiryFacts& facts);

// The form as a PDF file, written under a temporary name and renamed; false
// (and no file) when it could not be written.
bool writeEnquiryPdf(const QString& path, const EnquiryFacts& facts, QString* error = nullptr);

}  // namespace hv6
