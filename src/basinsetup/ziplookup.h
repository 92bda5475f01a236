#pragma once
// The location table shipped with the program ("zip.csv"): one line per ZIP
// code with its GMT offset, latitude and longitude, so that typing a ZIP code
// fills in the rest of the location.
#include <string>

// Where a file shipped with the program is: beside the executable, else in
// the installation's share/zavoro folder. The first of the two that exists;
// the one beside the executable when neither does.
std::string ShippedFilePath(const std::string& name);

// Lines "zip,offset,latitude,longitude" (longitude with west negative), each
// ended by a line feed or by the end of the file; a carriage return before the
// line feed is harmless. The first line whose ZIP number matches decides: 1
// with latitude, west longitude and GMT offset (-12 to 13) written when its
// fields read, else 0 with nothing written. Lines of 128 characters or more are
// no table lines and are passed over. 0 as well when the file cannot be read.
int LookupZipInFile(const std::string& path, int zip, double& latitude, double& longitude, int& zone);
