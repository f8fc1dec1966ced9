/* olex.h - the host's table-driven LALR(1) parser driver and its scanner.
 *
 * The library describes a grammar in one constant Vmod_ParserTables record: token
 * numbering, packed LALR(1) tables, the scanner's keyword table, the action routine that
 * does the work of each production, and the callbacks that make and release the state
 * of one parse. olex_Parse scans and parses a file with it.
 *
 * Semantic values. The driver keeps one 8-byte Olex_Value cell per stack entry. A FLOAT
 * or INTEGER token's cell holds its number; a NAME or STRING token's cell holds a new
 * heap string (a STRING without its quotes, each backslash-quote pair reduced to the
 * quote). Once a production holding a NAME or STRING token is reduced, that string
 * belongs to the action routine, which keeps or releases it; strings of tokens still
 * unreduced when a parse stops are released by the driver.
 */
#ifndef VMOD_HOST_OLEX_H
#define VMOD_HOST_OLEX_H

#include "vmodhost/host_api.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One stack cell. */
typedef union Olex_Value {
    double number;
    char *text;
    void *pointer;
    int64_t bits;
} Olex_Value;

/* The driver's handle during one parse, passed to the action routine. */
typedef struct Olex_Parser Olex_Parser;

/* Called for every production recognised: `top` is the cell of the production's last
   right-side symbol (the k-th of n symbols lies n - k cells below it), `result` the
   production's value cell (0 on entry), `parseResult` the slot olex_Parse returns.
   Sets *flag to 0. Returns 2 after the start production, 0 after any other. */
typedef int32_t (*Olex_ActionRoutine)(Olex_Parser *parser, void *localData, int32_t production,
                                      Olex_Value *top, Olex_Value *result, void **parseResult,
                                      int32_t *flag);
typedef void *(*Olex_AllocLocal)(void);
typedef void (*Olex_FreeLocal)(void *localData);

/* A keyword the scanner recognises (in any letter case) and the token it yields. */
typedef struct Vmod_ScannerKeyword {
    int32_t token;
    const char *word; /* lower case */
} Vmod_ScannerKeyword;

typedef struct Vmod_ScannerSetup {
    int32_t integerToken;
    int32_t floatToken;
    int32_t nameToken;
    int32_t numberToken; /* reserved; the scanner never yields it */
    int32_t stringToken;
    int32_t keywordCount;
    const Vmod_ScannerKeyword *keywords;
} Vmod_ScannerSetup;

typedef struct Vmod_ParserTables {
    const int16_t *translate;         /* token number -> internal symbol, maxToken + 1 entries */
    const int16_t *ruleLines;         /* source line of each production (diagnostics only) */
    const char *const *symbolNames;   /* by internal symbol, closed by a null pointer */
    const int16_t *leftSide;          /* internal symbol of each production's left side */
    const int16_t *ruleLength;        /* right-side length of each production */
    const int16_t *defaultReduction;  /* per state: production, 0 for an error */
    const int16_t *defaultGoto;       /* per nonterminal */
    const int16_t *actionBase;        /* per state, absentFlag when absent */
    const int16_t *gotoBase;          /* per nonterminal, absentFlag when absent */
    const int16_t *packed;            /* lastIndex + 1 entries */
    const int16_t *check;             /* lastIndex + 1 entries */
    Vmod_ScannerSetup scanner;
    Olex_ActionRoutine action;
    Olex_AllocLocal allocLocal;
    Olex_FreeLocal freeLocal;
    int32_t initialDepth;  /* stack entries at first */
    int32_t maxDepth;      /* stack entries at most */
    int32_t absentFlag;    /* marks an absent base or an error entry */
    int32_t lastIndex;     /* last index of packed and check */
    int32_t acceptState;   /* shifting into this state accepts */
    int32_t terminalCount; /* internal number of the first nonterminal */
    int32_t maxToken;      /* largest token number */
} Vmod_ParserTables;

/* What the scanner yields besides token numbers. */
enum {
    OLEX_SPACE = -1,        /* white space or a comment: skip `length` bytes */
    OLEX_ILLEGAL = -2,      /* a byte no token starts with (length 1) */
    OLEX_UNTERMINATED = -3, /* a string whose closing quote is missing at the end of input */
    OLEX_MORE = -4          /* the token may go on past `available`: call again with more */
};

/* The scanner: a pure function of its input. Looks at the `available` bytes at `bytes`
   (`atEnd` nonzero when no more follow) and returns the kind of the token they start
   with: a token number of `setup` (keywords, NAME, STRING, FLOAT, INTEGER), a
   punctuation character's own code, 0 at the end of input, or one of the OLEX_ codes;
   *length receives the token's length in bytes. */
typedef int32_t (*Olex_Scanner)(const Vmod_ScannerSetup *setup, const char *bytes, size_t available,
                                int32_t atEnd, size_t *length);

/* The host's scanner. Tokens: keywords of the setup in any letter case; names (a letter
   or "_", then letters, digits and "_"); strings between double quotes, which may span
   lines and keep every byte, where a backslash is literal unless a double quote follows;
   unsigned integers and decimals with a fraction and/or an exponent; "inf" and "nan" in
   any letter case as decimals; ";" "," ":" "{" "}" "(" ")" "-". "#" starts a comment to
   the end of the line. */
OHOST_API int32_t olex_Scanner(const Vmod_ScannerSetup *setup, const char *bytes, size_t available,
                               int32_t atEnd, size_t *length);
OHOST_API Olex_Scanner omsc_AddressOf_olex_Scanner(void);

/* Parses the file at path with tables and scanner. Calls tables->allocLocal first,
   the action routine for every production recognised, and tables->freeLocal at the end
   (also after a failure). Returns what the action routine stored in the parse-result
   slot, or null with a new report in *err when the file cannot be read, a token cannot
   be scanned, the tokens do not fit the grammar ("path:line:column: unexpected ...,
   expected ...") or the action routine rejected the input; a hint for the user ("did
   you mean ...?") is the report's cause. A UTF-8 byte-order mark at the start is
   skipped; a NUL byte inside a string is refused. The unnamed arguments are reserved and
   must be null. */
OHOST_API void *olex_Parse(const Vmod_ParserTables *tables, void *reserved1, Olex_Scanner scanner,
                           void *reserved2, const char *path, void *reserved3, void *reserved4,
                           Oerr_ErrorReport **err);

/* The same over `length` bytes in memory; `name` stands for the path in reports. */
OHOST_API void *olex_ParseText(const Vmod_ParserTables *tables, Olex_Scanner scanner, const char *name,
                               const char *bytes, size_t length, Oerr_ErrorReport **err);

/* Called by an action routine to reject the input the grammar accepted: the parse stops
   after the routine returns, and the report reads "path:line:column: message" at the
   start of the right-side symbol `back` cells below the last one (0 for the last). */
OHOST_API void olex_Reject(Olex_Parser *parser, int32_t back, const char *message);

#ifdef __cplusplus
}
#endif

#endif
