// Reads its arguments as the disk tools do: getopt() with the option string
// in STANDIN_OPTIONS, then every option's value with strtol(), base 16 for
// -p and base 0 for the others, refusing an empty value or anything after
// the number ("requires a numeric argument"). Prints one line per option,
// "t 40", "t refused" or "j" for a flag, then "file NAME" per file name.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char **argv)
{
    const char *options = std::getenv("STANDIN_OPTIONS");
    if (!options)
        return 2;
    opterr = 0;
    int letter;
    while ((letter = getopt(argc, argv, options)) != -1) {
        if (letter == '?') {
            std::printf("unknown %c\n", optopt);
        } else if (!optarg) {
            std::printf("%c\n", letter);
        } else {
            char *end = nullptr;
            const long value = std::strtol(optarg, &end, letter == 'p' ? 16 : 0);
            if (*optarg == '\0' || *end != '\0')
                std::printf("%c refused\n", letter);
            else
                std::printf("%c %ld\n", letter, value);
        }
    }
    for (; optind < argc; ++optind)
        std::printf("file %s\n", argv[optind]);
    return 0;
}
