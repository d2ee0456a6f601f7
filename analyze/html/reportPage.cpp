#include "analyze/html/reportPage.h"

const char* const kReportStyle =
    R"(body { font-family: "Liberation Sans", Arial, sans-serif; margin: 24px; color: #222; }
h1 { font-size: 22px; margin: 0 0 6px; }
h2 { font-size: 17px; margin: 28px 0 8px; word-break: break-all; }
.hint { color: #555; margin: 0 0 14px; }
table { border-collapse: collapse; font-size: 14px; }
th, td { padding: 5px 9px; border-bottom: 1px solid #ddd; }
th { background: #eef1f5; text-align: right; vertical-align: bottom; cursor: pointer; user-select: none;
     position: sticky; top: 0; }
th:first-child, td:first-child, th:last-child, td.notes { text-align: left; }
th:hover, th:focus { background: #dde3ec; outline: none; }
th .unit { display: block; font-weight: normal; color: #666; }
th[aria-sort="ascending"]::after { content: " \25B2"; }
th[aria-sort="descending"]::after { content: " \25BC"; }
td { text-align: right; font-variant-numeric: tabular-nums; }
td.notes { font-size: 13px; color: #444; max-width: 420px; }
tbody tr:nth-child(even) { background: #f8f9fb; }
.error { color: #b00020; }
figure { margin: 0 0 10px; }
img { max-width: 100%; height: auto; border: 1px solid #ddd; }
)";

const char* const kReportScript = R"((function () {
  'use strict';
  var table = document.getElementById('files');
  var headers = table.tHead.rows[0].cells;

  // Numbers from data-value, text from what the cell shows; null when empty.
  function key(row, column, numeric) {
    var cell = row.cells[column];
    if (numeric) {
      var value = cell.getAttribute('data-value');
      return value === '' ? null : Number(value);
    }
    var text = cell.textContent.trim().toLowerCase();
    return text === '' ? null : text;
  }

  function compare(x, y, numeric) {
    if (!numeric) return x.localeCompare(y);
    return x < y ? -1 : (x > y ? 1 : 0);
  }

  // The first click sorts up, the next one down; empty cells stay last.
  function sortBy(column) {
    var header = headers[column];
    var numeric = header.getAttribute('data-type') === 'number';
    var ascending = header.getAttribute('aria-sort') !== 'ascending';
    var body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows);
    rows.sort(function (a, b) {
      var x = key(a, column, numeric);
      var y = key(b, column, numeric);
      if (x === null || y === null) return (x === null) - (y === null);
      return ascending ? compare(x, y, numeric) : compare(y, x, numeric);
    });
    rows.forEach(function (row) { body.appendChild(row); });
    for (var i = 0; i < headers.length; i++) headers[i].removeAttribute('aria-sort');
    header.setAttribute('aria-sort', ascending ? 'ascending' : 'descending');
  }

  Array.prototype.forEach.call(headers, function (header, column) {
    header.addEventListener('click', function () { sortBy(column); });
    header.addEventListener('keydown', function (event) {
      if (event.key === 'Enter' || event.key === ' ') {
        event.preventDefault();
        sortBy(column);
      }
    });
  });
})();
)";

const char* const kReportIntroduction =
    "Click a column's header to sort the files by it, again to reverse the order. Loudness after ITU-R "
    "BS.1770 / EBU R128; peak, RMS, RMS to mean and the shares of quiet and near-peak samples are the "
    "Orvane plug-in's own measures. Each file's plots follow the table.";
