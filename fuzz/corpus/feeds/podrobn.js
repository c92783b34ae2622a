document.write('<b>Подробности</b><br>новость дня');
