// Meadowlark: small helpers for the finished page.
(function () {
  function showCurrentYear() {
    var spans = document.getElementsByClassName('year');
    var year = String(new Date().getFullYear());
    for (var i = 0; i < spans.length; i++) {
      spans[i].textContent = year;
    }
  }

  function enablePhotoZoom() {
    var photo = document.getElementById('welcome-photo');
    if (!photo) {
      return;
    }
    photo.onclick = function () {
      var enlarged = photo.className.indexOf('enlarged') >= 0;
      photo.className = enlarged ? 'photo' : 'photo enlarged';
    };
  }

  window.onload = function () {
    showCurrentYear();
    enablePhotoZoom();
  };
})();
