// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Appended, together with NAME.expect.js, to a copy of a generated page.
// Once every picture has loaded it measures where the browser put the parts
// of the page table and writes one line per finding into
// <pre id="velmora-result">, which check_pages.sh reads from --dump-dom.
// Kept to plain ASCII, as the page around it is, so that it reads the same in
// whatever charset the page is read.
(function () {
    "use strict";
    var lines = [];
    var failures = 0;
    var SLACK = 1.5;  // sub-pixel rounding of table cells

    function check(ok, what) {
        lines.push((ok ? "ok - " : "not ok - ") + what);
        if (!ok) failures += 1;
        return ok;
    }
    function same(actual, wanted, what) {
        return check(actual === wanted, what + " (got " + JSON.stringify(actual) + ", want " +
                     JSON.stringify(wanted) + ")");
    }
    function box(el) { return el.getBoundingClientRect(); }
    function px(r) {
        return "[" + Math.round(r.left) + "," + Math.round(r.top) + " " + Math.round(r.width) +
               "x" + Math.round(r.height) + "]";
    }
    // The file part of a resolved URL, decoded, so that "b%C3%A4r.bmp" reads as typed.
    function fileOf(url) {
        var m = /([^\/"]*)"?\)?$/.exec(url);
        return m ? decodeURIComponent(m[1]) : "";
    }
    function loaded(img) { return img.complete && img.naturalWidth > 0; }
    function checkPicture(img, src, what) {
        same(img.getAttribute("src"), src, what + " source");
        check(loaded(img), what + " " + JSON.stringify(src) + " loaded from its file");
    }

    function run() {
        var e = expected;
        // The charset the page must be read in, when the URL names one after
        // "#": a page served as UTF-8 must really be read as UTF-8, or the
        // check would tell nothing about such a host.
        var charset = decodeURIComponent(location.hash.slice(1));
        if (charset !== "") same(document.characterSet, charset, "page read as " + charset);
        lines.push("# read as " + document.characterSet);
        same(document.title, e.title, "title");

        var table = document.querySelector("table");
        if (!check(table !== null, "page has its layout table")) return;
        var rows = table.rows;

        // Heading row: the corner cell, then the heading right of it.
        var corner = rows[0].cells[0];
        var headingCell = rows[0].cells[1];
        if (!check(corner && corner.tagName === "TH" && headingCell, "heading row has two cells")) {
            return;
        }
        var font = headingCell.querySelector("font");
        check(font !== null, "heading has its font");
        if (font) {
            same(font.textContent, e.heading, "heading text");
            same(font.getAttribute("face"), e.headingFace, "heading font face");
            var fr = box(font), cr = box(corner);
            check(fr.left >= cr.right - SLACK,
                  "heading " + px(fr) + " right of the corner cell " + px(cr));
            check(Math.abs(box(headingCell).top - cr.top) <= SLACK,
                  "heading cell and corner cell in one row");
            check(fr.width > 0 && fr.height > 0, "heading text is shown " + px(fr));
        }
        var cornerImg = corner.querySelector("img");
        if (e.corner === null) {
            check(cornerImg === null, "no corner picture");
        } else if (check(cornerImg !== null, "corner picture present")) {
            checkPicture(cornerImg, e.corner, "corner picture");
            var ci = box(cornerImg), cc = box(corner);
            check(ci.left >= cc.left - SLACK && ci.right <= cc.right + SLACK,
                  "corner picture " + px(ci) + " inside the corner cell " + px(cc));
        }
        var headImg = headingCell.querySelector("img");
        if (e.headingPicture === null) {
            check(headImg === null, "no heading picture");
        } else if (check(headImg !== null, "heading picture present")) {
            checkPicture(headImg, e.headingPicture, "heading picture");
            if (font) {
                // after the last piece of the heading, on its line or below it
                var pieces = font.getClientRects(), end = pieces[pieces.length - 1];
                var hp = box(headImg);
                check(end && (hp.left >= end.right - SLACK || hp.top >= end.bottom - SLACK),
                      "heading picture " + px(hp) + " after the heading text");
            }
        }

        // Body background.
        if (e.background !== null) {
            same(document.body.getAttribute("background"), e.background, "background picture");
            same(fileOf(getComputedStyle(document.body).backgroundImage), e.background,
                 "background picture applied");
        } else {
            same(document.body.getAttribute("bgcolor"), e.bgcolor, "background colour");
        }

        // Link bar and text cell.
        var textCell = table.querySelector("td[valign=top]");
        var filler = table.querySelector("td[height='100%']");
        var cells = Array.prototype.filter.call(table.querySelectorAll("td"), function (td) {
            return td !== textCell && td.querySelector(":scope > a, :scope > center > a");
        });
        same(cells.length, e.links.length, "number of link cells");
        if (!check(filler !== null, "filler row present")) return;
        var fl = box(filler);
        var rightColumn = textCell ? box(textCell).left : box(headingCell).left;
        for (var i = 0; i < cells.length && i < e.links.length; i++) {
            var cell = cells[i], r = box(cell);
            var a = cell.querySelector("a");
            var name = "link " + (i + 1) + " " + JSON.stringify(e.links[i].text);
            same(a.textContent, e.links[i].text, name + " text");
            same(a.getAttribute("href"), e.links[i].href, name + " target");
            check(box(a).width > 0 && box(a).height > 0, name + " is shown");
            check(Math.abs(r.left - box(corner).left) <= SLACK,
                  name + " cell " + px(r) + " in the left column");
            check(r.right <= rightColumn + SLACK, name + " cell left of the right column");
            if (i > 0) {
                var above = box(cells[i - 1]);
                check(r.top >= above.bottom - SLACK && Math.abs(r.left - above.left) <= SLACK,
                      name + " cell " + px(r) + " directly below link " + i + " " + px(above));
            } else {
                check(r.top >= box(corner).bottom - SLACK, name + " below the heading row");
            }
            var dot = cell.querySelector("img");
            if (e.dot === null) {
                check(dot === null, name + " has no dot");
            } else if (check(dot !== null, name + " has its dot")) {
                checkPicture(dot, e.dot, name + " dot");
                var d = box(dot), ar = box(a);
                check(d.right <= ar.left + SLACK && d.bottom > ar.top && d.top < ar.bottom,
                      name + " dot " + px(d) + " in front of the link " + px(ar));
            }
            var content = box(dot && e.dot !== null ? dot : a);
            var contentRight = box(a).right;
            if (e.centred) {
                var mid = (content.left + contentRight) / 2, cellMid = (r.left + r.right) / 2;
                check(Math.abs(mid - cellMid) <= 2,
                      name + " centred (content middle " + Math.round(mid) + ", cell middle " +
                          Math.round(cellMid) + ")");
            } else {
                check(content.left - r.left <= 2, name + " starts at the left of its cell");
            }
            if (e.linkBackground === null) {
                same(cell.getAttribute("background"), null, name + " cell has no background");
            } else {
                same(cell.getAttribute("background"), e.linkBackground, name + " cell background");
                same(fileOf(getComputedStyle(cell).backgroundImage), e.linkBackground,
                     name + " cell background applied");
            }
        }
        var lastBar = cells.length > 0 ? box(cells[cells.length - 1]) : null;
        check(Math.abs(fl.left - box(corner).left) <= SLACK, "filler cell in the left column");
        if (lastBar) check(fl.top >= lastBar.bottom - SLACK, "filler cell below the last link");
        same(filler.getAttribute("background"), e.fillerBackground, "filler cell background");

        var wantText = e.textLines.length + e.textLinks.length + e.textPictures.length > 0;
        if (!wantText) {
            check(textCell === null, "no text cell");
        } else if (check(textCell !== null, "text cell present")) {
            var t = box(textCell);
            var first = cells.length > 0 ? box(cells[0]) : fl;
            var last = lastBar || fl;
            check(t.left >= first.right - SLACK,
                  "text cell " + px(t) + " right of the first link cell " + px(first));
            check(Math.abs(t.top - first.top) <= SLACK, "text cell starts in the first link row");
            check(t.bottom >= last.bottom - SLACK,
                  "text cell reaches down past the last link cell " + px(last));
            check(t.bottom >= fl.bottom - SLACK, "text cell spans the filler row too");
            var f = textCell.querySelector("font");
            same(f && f.getAttribute("face"), e.textFace, "text font face");
            var text = textCell.textContent, at = -1;
            e.textLines.forEach(function (line, n) {
                var k = text.indexOf(line, at + 1);
                check(k > at, "text line " + (n + 1) + " " + JSON.stringify(line) + " shown in order");
                if (k > at) at = k;
            });
            var anchors = textCell.querySelectorAll("a");
            same(anchors.length, e.textLinks.length, "links inside the text");
            e.textLinks.forEach(function (l, n) {
                if (!anchors[n]) return;
                same(anchors[n].textContent, l.text, "text link " + (n + 1) + " text");
                same(anchors[n].getAttribute("href"), l.href, "text link " + (n + 1) + " target");
            });
            var pics = textCell.querySelectorAll("img");
            same(pics.length, e.textPictures.length, "pictures inside the text");
            e.textPictures.forEach(function (src, n) {
                if (!pics[n]) return;
                checkPicture(pics[n], src, "text picture " + (n + 1));
                var p = box(pics[n]);
                check(p.left >= t.left - SLACK && p.right <= t.right + SLACK,
                      "text picture " + (n + 1) + " " + px(p) + " inside the text cell");
            });
        }

        // Picture cell: the last row, alone in it, below the link bar.
        var lastRow = rows[rows.length - 1];
        if (e.pictures.length === 0) {
            check(lastRow.contains(filler), "table ends with the filler row");
        } else {
            var th = lastRow.cells[0];
            check(lastRow.cells.length === 1 && th.tagName === "TH",
                  "picture row holds one header cell");
            var imgs = th.querySelectorAll("img");
            same(imgs.length, e.pictures.length, "number of pictures");
            var captions = th.textContent, seen = -1;
            for (var p = 0; p < imgs.length && p < e.pictures.length; p++) {
                var pic = e.pictures[p], ir = box(imgs[p]);
                var what = "picture " + (p + 1) + " " + JSON.stringify(pic.src);
                checkPicture(imgs[p], pic.src, what);
                check(ir.top >= fl.bottom - SLACK && (!lastBar || ir.top >= lastBar.bottom - SLACK),
                      what + " " + px(ir) + " below the link bar");
                check(ir.left >= box(table).left - SLACK && ir.right <= rightColumn + SLACK,
                      what + " in the left column");
                if (p > 0 && e.breaks > 0) {
                    check(ir.top >= box(imgs[p - 1]).bottom - SLACK,
                          what + " below picture " + p);
                }
                if (pic.caption !== "") {
                    var k = captions.indexOf(pic.caption, seen + 1);
                    check(k > seen, what + " caption " + JSON.stringify(pic.caption) + " shown");
                    if (k > seen) seen = k;
                }
            }
            check(th.querySelectorAll("br").length === e.pictures.length * Math.max(e.breaks, 0),
                  "line breaks before the pictures");
        }
    }

    function report() {
        try {
            run();
        } catch (err) {
            check(false, "check script failed: " + err);
        }
        var out = document.createElement("pre");
        out.id = "velmora-result";
        out.textContent = "\n" + lines.join("\n") + "\n" + (failures === 0 ? "PASS" : "FAIL") +
                          " " + expected.page + "\n";
        document.body.appendChild(out);
    }

    if (document.readyState === "complete") {
        report();
    } else {
        window.addEventListener("load", report);
    }
})();
