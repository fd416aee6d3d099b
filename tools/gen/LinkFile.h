// The link file the game requires beside its executable ("play.url") and the page it points to: the
// player's guide help.html, copied from content\. The game hands the link to the desktop when it ends, so
// the URL is the absolute file:// address of the guide where the build lays it out.
#pragma once

#include <string>

namespace VbGen {

// Writes binDir/help.html and binDir/play.url, each only when its bytes change; returns how many files were
// written. Throws GenError when content/help.html is missing or a file cannot be written.
int WriteLinkFile(const std::string& contentDir, const std::string& binDir);

// Writes the link file at linkPath pointing to helpFolder/help.html, for an installation whose files are
// staged in one place (linkPath) and run from another (helpFolder, absolute); returns 1 when written.
int WriteInstalledLinkFile(const std::string& linkPath, const std::string& helpFolder);

// "file://" and the absolute path with every byte outside letters, digits, "-._~/" percent-encoded, so a
// folder with blanks or non-ASCII names still gives a valid address.
std::string FileUrl(const std::string& absolutePath);

// An internet shortcut naming the URL, with CR LF line ends as desktop shells expect.
std::string LinkFileText(const std::string& url);

} // namespace VbGen
