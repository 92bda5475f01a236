#pragma once
// The sample gateway's web favourites: the list of files, and each file's
// bytes by name (two start pages and an icon they show).
namespace samplegateway {

class Gateway;

void ServeFavorites(Gateway& gateway);

}  // namespace samplegateway
