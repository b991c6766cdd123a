# Sums up `veltrascope-decode --events` output: one word per alert, then the
# mode names shown outside alerts.
#
# An alert word is BANDS/DIGIT/PEAK/SHAPE/ARROWS: the lamps lit during the
# alert (X, K, Ka, L joined by +), the digit, the most signal dots, the shape
# of the meter ("rise-fall" when it climbs one dot at a time from 1 to the peak
# and back to 1, "steady" when it never changes, "other" otherwise) and the
# arrows in the order they changed (F front, S side, R rear, e.g. F,FS,R).
# A stray EndAlert, a BeginAlert inside an alert, or a stream ending inside an
# alert yields the word "unbalanced".

function finish_alert(   shape, i, up, ok) {
    shape = "other"
    if (ndots == 1) {
        shape = "steady"
    } else if (dots[1] == 1 && dots[ndots] == 1) {
        ok = 1; up = 1
        for (i = 2; i <= ndots; i++) {
            if (up && dots[i] == dots[i - 1] - 1) up = 0
            else if (!(up && dots[i] == dots[i - 1] + 1) && !(!up && dots[i] == dots[i - 1] - 1)) ok = 0
        }
        if (ok) shape = "rise-fall"
    }
    bands = ""
    if (seen["X"]) bands = bands "+X"
    if (seen["K"]) bands = bands "+K"
    if (seen["Ka"]) bands = bands "+Ka"
    if (seen["L"]) bands = bands "+L"
    bands = (bands == "") ? "none" : substr(bands, 2)
    alerts = alerts " " bands "/" digits "/" peak "/" shape "/" arrows
}

/^BeginAlert$/ {
    if (inalert) bad = 1
    inalert = 1; ndots = 0; peak = 0; arrows = ""; digits = ""; lastarrow = "?"
    delete seen
    next
}
/^EndAlert$/ {
    if (!inalert) bad = 1
    else finish_alert()
    inalert = 0
    next
}
{
    i = index($0, " - ")
    if (i == 0) next
    c = substr($0, i + 3)
    if (!inalert) {
        if (c != lastmode && c !~ /^ /) modes = modes (modes == "" ? "" : "|") c
        if (c !~ /^ /) lastmode = c
        next
    }
    if (substr(c, 1, 2) == "X ") seen["X"] = 1
    if (substr(c, 3, 2) == "K ") seen["K"] = 1
    if (substr(c, 5, 3) == "Ka ") seen["Ka"] = 1
    if (substr(c, 8, 2) == "L ") seen["L"] = 1
    d = substr(c, 10, 1)
    if (index(digits, d) == 0) digits = digits d
    n = gsub(/\*/, "*", c)
    if (ndots == 0 || dots[ndots] != n) dots[++ndots] = n
    if (n > peak) peak = n
    a = ""
    if (substr(c, 21, 3) == " /\\") a = a "F"
    if (substr(c, 24, 3) == " ==") a = a "S"
    if (substr(c, 27, 3) == " \\/") a = a "R"
    if (a != lastarrow) { arrows = arrows (arrows == "" ? "" : ",") a; lastarrow = a }
}
END {
    if (inalert) bad = 1
    print (bad ? "unbalanced" : "") "alerts:" alerts
    print "modes: " modes
}
