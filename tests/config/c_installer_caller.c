/* Calls the installer entry point the way an installer written in C would: it loads
   the library, looks the function up by name, pushes the path and then the password
   as malloc'ed nodes, and checks the written file byte by byte. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct node {
    struct node* next;
    char text[1];
} node;

typedef void (*entry_fn)(void*, int, char*, node**);

static node* push(node* top, const char* text)
{
    node* n = malloc(sizeof(node) + strlen(text));
    n->next = top;
    strcpy(n->text, text);
    return n;
}

static int failures = 0;
static int passes = 0;

static void check(int ok, const char* what)
{
    if (ok) {
        ++passes;
    } else {
        ++failures;
        fprintf(stderr, "FAIL: %s\n", what);
    }
}

static long readInt(const unsigned char* b, int offset)
{
    return (long)(b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 | (unsigned long)b[offset + 3] << 24);
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s <library> <config file>\n", argv[0]);
        return 2;
    }
    void* lib = dlopen(argv[1], RTLD_NOW);
    if (!lib) {
        fprintf(stderr, "%s\n", dlerror());
        return 2;
    }
    entry_fn entry = (entry_fn)dlsym(lib, "SetParentPassword");
    check(entry != NULL, "SetParentPassword is exported by name");
    if (!entry)
        return 1;

    remove(argv[2]);
    node* stack = push(NULL, "left for the installer");
    stack = push(stack, argv[2]);
    stack = push(stack, "abc");
    entry(NULL, 1024, NULL, &stack);

    check(stack != NULL && strcmp(stack->text, "left for the installer") == 0, "third string stays on the stack");
    check(stack != NULL && stack->next == NULL, "only one node left");
    free(stack);

    unsigned char record[4096];
    FILE* f = fopen(argv[2], "rb");
    size_t size = 0;
    if (f) {
        size = fread(record, 1, sizeof record, f);
        fclose(f);
    }
    check(f != NULL, "configuration file written");
    check(size == 2892, "record is 2892 bytes");
    if (size == 2892) {
        check(readInt(record, 0x000) == 0 && readInt(record, 0x004) == 0 && readInt(record, 0x008) == 0,
              "general switches off");
        check(readInt(record, 0x00C) == 0 && readInt(record, 0x010) == 10, "time limit off with 10 minutes");
        check(readInt(record, 0x014) == 1, "password set");
        check(memcmp(record + 0x018, "900150983cd24fb0d6963f7d28e17f72", 33) == 0, "lower-case MD5 of abc");
        check(readInt(record, 0x11C) == 0 && readInt(record, 0x120) == 1, "reserved 0, own home page on");
        check(record[0x124] != 0 && memchr(record + 0x124, 0, 2600) != NULL, "home page set and terminated");
    }
    dlclose(lib);
    printf("%d passed, %d failed\n", passes, failures);
    return failures ? 1 : 0;
}
