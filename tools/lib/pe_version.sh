# Reads the version resource of a Windows program or library without Windows.

# Prints the product version of the fixed part of the version resource
# (VS_FIXEDFILEINFO) as major.minor.patch; fails when the file has none.
pe_product_version() {
    local offset minor major patch
    # The fixed part starts with the signature 0xFEEF04BD.
    offset=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -n 1 | cut -d: -f1)
    [ -n "$offset" ] || return 1
    # After the signature, the structure version and the file version: the
    # product version's high and low double words, each as two little-endian words.
    read -r minor major _ patch < <(od -An -tu2 -j $((offset + 16)) -N 8 "$1")
    [ -n "$patch" ] || return 1
    echo "$major.$minor.$patch"
}
