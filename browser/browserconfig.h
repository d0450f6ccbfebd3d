#pragma once

class CConfigManager;

// The browser's one configuration record for the whole run: loaded at start-up,
// read by every part of the browser, never written.
CConfigManager& BrowserConfig();
