// users.ini as the browser panel reads it: whatever the bytes, every user
// read is whole (a valid name, a role, a salt, 100,000 rounds or more, a
// 32-byte digest), no name twice, and what is written back reads the same.
#include "FuzzCheck.h"
#include "web/UsersFile.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using web::UsersFile;
    const QByteArray bytes = fuzz::bytes(data, size);
    const UsersFile::Parsed parsed = UsersFile::parse(bytes);
    FUZZ_CHECK(parsed.users.size() <= UsersFile::userLimit);
    QSet<QString> names;
    for (const UsersFile::User &user : parsed.users) {
        FUZZ_CHECK(UsersFile::validName(user.name));
        FUZZ_CHECK(!names.contains(user.name));
        names.insert(user.name);
        FUZZ_CHECK(user.salt.size() >= 8 && user.salt.size() <= 64);
        FUZZ_CHECK(user.hash.size() == 32);
        FUZZ_CHECK(user.iterations >= UsersFile::minIterations);
    }
    if (bytes.size() <= qsizetype(fuzz::compareLimit)) {
        const UsersFile::Parsed again = UsersFile::parse(UsersFile::write(parsed.users));
        FUZZ_CHECK(again.problems.isEmpty());
        FUZZ_CHECK(again.users == parsed.users);
    }
    return 0;
}
