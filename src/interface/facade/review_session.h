#pragma once
// The review windows of one facade: the application object (CECGApp) made
// on the first Review and kept for the facade's life, and the host the
// review view calls back (analysis, printing, export, patient, About).

#include "interface/facade/window_services.h"

class CECGInterface;

namespace ecg::facade {

// Steps 3-6 of Review: the application object and main frame on first use,
// the record opened as a document with the facade's flags, and (unless
// noWait) the events dispatched until the frame closes. 1 when the document
// opened.
int OpenReview(CECGInterface& facade, const ReviewRequest& request);
// Documents open in the facade's review frame (0 before the first Review).
int ReviewDocumentCount(const CECGInterface& facade);
// `facade` stops using its review windows (its destructor calls this); they
// are deleted with the last facade that shares them.
void CloseReviewWindows(CECGInterface& facade);
// Copying a facade: `to` leaves its own review windows and shares those of
// `from`, which then live until both are gone.
void ShareReviewWindows(CECGInterface& to, const CECGInterface& from);

// The file the facade's last PrintSCPFileToFile wrote; empty when none.
std::string LastPrintedFile(const CECGInterface& facade);
void SetLastPrintedFile(const CECGInterface& facade, const std::string& path);

}  // namespace ecg::facade
