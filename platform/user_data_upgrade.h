#pragma once
// Carrying the user's data into the data of a new version.
//
// An installer never overwrites user.dat: it puts the new version's file beside it as
// "user.dat.new". At the next start, before the database opens, ApplyPendingUserDataUpgrade makes
// the new file the program's user.dat with the user's own rows carried over:
//   - every `userconfig` row of the old file (city, skin, switches, "lastconfirm", "lrt", "uu", ...)
//     replaces the new file's row of the same name, except the deployment settings that each
//     release ships ("svc_*", "contact_account", "web_site"); names only the new file has are kept;
//   - the recent cities (`mycity`) are the old file's;
//   - everything else (holidays, almanac, city codes) is the new file's.
// The work happens in a copy ("user.dat.upgrade") inside one transaction; the copy then replaces
// user.dat in one rename, and only after that is "user.dat.new" deleted. Whenever it is
// interrupted, user.dat is either the old file or the finished one, and the next start finishes the
// job (carrying the rows again gives the same result).
//
// A user.dat that SQLite cannot read at all (not a database, malformed, cut off) holds nothing
// that could be carried, and the program could not run on it. It is kept aside under a dated
// name, "user.dat.damaged-YYYYMMDD-HHMMSS" (nothing is deleted), and "user.dat.new" becomes
// user.dat as it is; with no upgrade pending, a copy of "user.dat.shipped" does, the copy of the
// release's data that the installer keeps beside the program. A file that is a readable database,
// even one without the program's tables, or that is locked or missing, is never replaced here.
#include <string>
#include <string_view>

enum class UserDataUpgrade {
  kNothingPending,   // no "user.dat.new", and user.dat is not damaged (or there is no shipped copy)
  kInstalled,        // there was no user.dat: the new file became it
  kCarriedOver,      // the user's rows were carried into the new file, which replaced user.dat
  kReplacedDamaged,  // user.dat could not be read: kept aside, the new or shipped data took its place
  kFailed,           // nothing changed; see the message
};

inline constexpr char16_t kShippedUserData[] = u"user.dat.shipped";

// directory ends with a path separator. message receives what failed, or for kReplacedDamaged
// what was done (the damage, the name it is kept under, the file that took its place); empty
// otherwise. The dated name is the local time now.
UserDataUpgrade ApplyPendingUserDataUpgrade(std::u16string_view directory, std::u16string& message);

// Empty when path is a database SQLite can read (or cannot be opened at all: missing, locked,
// no access); otherwise what is wrong with it ("file is not a database", "cut off", ...).
std::u16string UserDataDamage(std::u16string_view path);
