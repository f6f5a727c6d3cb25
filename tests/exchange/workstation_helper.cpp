// Another workstation for the tests: a separate process that uses the same workshop folder.
//   workstation_helper hold <lock file>   holds that lock until its standard input closes

#include <QCoreApplication>
#include <QLockFile>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        QLockFile lock(QString::fromLocal8Bit(argv[2]));
        if (!lock.tryLock(0))
            return 2;
        std::puts("locked");
        std::fflush(stdout);
        while (std::fgetc(stdin) != EOF) {
        }
        return 0;
    }
    std::fputs("usage: workstation_helper hold <lock file>\n", stderr);
    return 1;
}
