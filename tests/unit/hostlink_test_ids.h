// String ids of the link library's tests: in the test program, in its language library, or in both.
#define IDS_BOTH 9101
#define IDS_CALLER_ONLY 9102
#define IDS_LANGUAGE_ONLY 9103
#define IDS_NOWHERE 9104
