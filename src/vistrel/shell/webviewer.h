#pragma once
// The web viewer: an external program that does the web page's browsing.
// It is started with the page's URL through a command from the settings
// (section [WebViewer], value Command, default "xdg-open", split like the
// command file, the URL added as the last argument) and ended with the
// tablet. One viewer per process; the web page, the main window, the idle
// screens and the teardown share it. Such a program takes no navigation
// commands, cannot be shown, hidden or raised, and reports no busy state:
// what the page would ask of it there is dropped.
#include <string>
#include <vector>

class CZVServer;

// The viewer's command line before the URL; empty when the setting is blank.
std::vector<std::string> GetWebViewerCommand();
// The viewer can be started: its command names a program that is found.
bool EnsureWebViewerFile();
// Starts the viewer on the URL (none: only the command); a running viewer
// is ended first. False when the command is missing or cannot be started.
bool StartWebViewer(const std::string& url);
bool IsWebViewerRunning();
// Ends the viewer (a request to end, then killed after 5000 ms) and reaps it;
// a viewer that had to be killed no longer counts as busy.
void CloseWebViewer();
// At start-up: nothing of an earlier run is left to close; every state of
// the viewer and the favourites starts afresh.
void CloseWebViewerAtStart();
void SetWebViewerBusy(bool busy);
bool IsWebViewerBusy();
// The no-navigation flag of the last opening; a change restarts the viewer.
int GetLastWebNoNavigation();
void SetLastWebNoNavigation(int noNavigation);

// ---- the favourites: the start pages and their pictures, from the gateway

// The folder that holds them: "zvfavorites" in the program folder.
std::string GetFavoritesFolder();
// The favourites' start page for a window of that height: favorites2.html
// when 480 pixels high or less, else favorites.html; as a file:// URL, or
// empty when that file is not there.
std::string GetFavoritesStartPage(int windowHeight);
// Where a favourite of the gateway's name is kept: its backslashes (and
// slashes) separate folders. Empty unless every part is a plain name, so
// that no name reaches outside the favourites folder.
std::string GetFavoritePath(const std::string& name);
// Asks the gateway for a favourite that is not there yet and writes its
// whole answer; true when the file is there afterwards. Nothing half
// written is left behind.
bool DownloadFavorite(CZVServer& server, const std::string& name);
// The first time (and after a failed file): asks for the list and fetches
// every file missing from it. True when the whole list is there.
bool FetchFavorites(CZVServer& server);
