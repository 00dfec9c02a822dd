// Morgenrot: marks today's line in the opening hours table.
window.onload = function () {
  var table = document.getElementById('hours');
  if (!table) {
    return;
  }
  var today = String(new Date().getDay());
  var rows = table.getElementsByTagName('tr');
  for (var i = 0; i < rows.length; i++) {
    if (rows[i].getAttribute('data-day') === today) {
      rows[i].className = 'today';
    }
  }
};
