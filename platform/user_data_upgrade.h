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
#include <string>
#include <string_view>

enum class UserDataUpgrade {
  kNothingPending,  // no "user.dat.new"
  kInstalled,       // there was no user.dat: the new file became it
  kCarriedOver,     // the user's rows were carried into the new file, which replaced user.dat
  kFailed,          // nothing changed; see the message
};

// directory ends with a path separator. message receives what failed (empty otherwise).
UserDataUpgrade ApplyPendingUserDataUpgrade(std::u16string_view directory, std::u16string& message);
