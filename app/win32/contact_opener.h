#pragma once
// Opens the two contact links of the about and feedback windows, read from "userconfig" each time
// (deployment values shipped in user.dat). An empty or unusable value opens nothing.
namespace app {

// The instant-messaging contact, through the shell's "open" verb.
void OpenContactLink();
// The web site, in the default browser.
void OpenWebSite();

}  // namespace app
