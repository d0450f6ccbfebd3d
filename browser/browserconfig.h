#pragma once

class CConfigManager;

// The browser's one configuration record for the whole run: loaded at start-up,
// read by every part of the browser, never written.
CConfigManager& BrowserConfig();

// True when the parents' settings exist but none of them could be read: the browser
// then shows only its own pages, with no time limit and no exit password (there is
// no password to check). Set by the start-up from how the record was loaded.
bool BrowserRestricted();
void SetBrowserRestricted(bool restricted);
