// The reader library's four calls, answering as FAKE_TERMB_PORT (the port that opens),
// FAKE_TERMB_AUTH and FAKE_TERMB_READ (1 or 0) say. A successful read copies FAKE_TERMB_WZ
// to FAKE_TERMB_DIR/wz.txt and FAKE_TERMB_ZP to zp.bmp there. Each call is appended to
// FAKE_TERMB_LOG.
#include <cstdio>
#include <cstdlib>

static void logCall(const char *call, int argument)
{
    const char *path = getenv("FAKE_TERMB_LOG");
    FILE *log = path ? fopen(path, "a") : NULL;
    if (!log)
        return;
    fprintf(log, "%s(%d)\n", call, argument);
    fclose(log);
}

static int envInt(const char *name)
{
    const char *value = getenv(name);
    return value ? atoi(value) : 0;
}

static void copyFile(const char *variable, const char *name)
{
    const char *source = getenv(variable);
    const char *dir = getenv("FAKE_TERMB_DIR");
    char target[4096];
    if (!source || !dir)
        return;
    snprintf(target, sizeof target, "%s/%s", dir, name);
    FILE *in = fopen(source, "rb");
    FILE *out = fopen(target, "wb");
    char buffer[512];
    size_t n;
    while (in && out && (n = fread(buffer, 1, sizeof buffer, in)) > 0)
        fwrite(buffer, 1, n, out);
    if (in)
        fclose(in);
    if (out)
        fclose(out);
}

extern "C" {

int CVR_InitComm(int port)
{
    logCall("CVR_InitComm", port);
    return port == envInt("FAKE_TERMB_PORT") ? 1 : 0;
}

int CVR_CloseComm()
{
    logCall("CVR_CloseComm", 0);
    return 1;
}

int CVR_Authenticate()
{
    logCall("CVR_Authenticate", 0);
    return envInt("FAKE_TERMB_AUTH");
}

int CVR_Read_Content(int active)
{
    logCall("CVR_Read_Content", active);
    if (envInt("FAKE_TERMB_READ") != 1)
        return 0;
    copyFile("FAKE_TERMB_WZ", "wz.txt");
    copyFile("FAKE_TERMB_ZP", "zp.bmp");
    return 1;
}

} // extern "C"
