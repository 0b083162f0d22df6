// Runs a decoder helper as on an older kernel: without Landlock (some kernels, many
// containers), and with VANTREL_NO_SECCOMP also without seccomp filters. Each missing call
// fails as such a kernel fails it.
#include <cerrno>
#include <initializer_list>
#include <seccomp.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(int, char** argv) {
    const scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    if (!filter)
        return 120;
    for (const char* name :
         {"landlock_create_ruleset", "landlock_add_rule", "landlock_restrict_self"})
        seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), seccomp_syscall_resolve_name(name), 0);
#ifdef VANTREL_NO_SECCOMP
    seccomp_rule_add(filter, SCMP_ACT_ERRNO(ENOSYS), SCMP_SYS(seccomp), 0);
    seccomp_rule_add(filter, SCMP_ACT_ERRNO(EINVAL), SCMP_SYS(prctl), 1,
                     SCMP_A0(SCMP_CMP_EQ, PR_SET_SECCOMP));
#endif
    if (seccomp_load(filter) != 0)
        return 121;
    seccomp_release(filter);
    argv[0] = const_cast<char*>(VANTREL_HELPER);
    ::execv(argv[0], argv);
    return 122;
}
